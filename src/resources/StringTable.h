// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vantrel::resources {

// Text identifiers are the Italian ones; the English text of identifier n is n + 300.
// Identifier 1 holds the distance between the two languages ("300").
inline constexpr int kLanguageDistanceTextId = 1;

// Identifiers of this program's own texts, beyond the original table (same +300 rule).
namespace text {
// The original texts the code names (ids below 300).
inline constexpr int kSelectPort = 52;
inline constexpr int kSerialPorts = 57;
inline constexpr int kFile = 58;
inline constexpr int kPrint = 62;
inline constexpr int kExit = 63;
inline constexpr int kLanguage = 73;
inline constexpr int kFullScreen = 77;
inline constexpr int kNoPort = 82;
inline constexpr int kDeviceNotConnected = 84;
inline constexpr int kNoCommunication = 85;
inline constexpr int kCommunicationActivity = 86;
inline constexpr int kInputTypeField = 88;
inline constexpr int kCjcInternal = 91;
inline constexpr int kCjcExternal = 92;
inline constexpr int kWiresField = 93;
inline constexpr int kMaxTemperature = 94;
inline constexpr int kMinTemperature = 95;
inline constexpr int kMaxVoltage = 96;
inline constexpr int kMinVoltage = 97;
inline constexpr int kMaxCurrent = 98;
inline constexpr int kMinCurrent = 99;
inline constexpr int kFileChangedBefore = 100;
inline constexpr int kFileChangedAfter = 101;
inline constexpr int kLinearField = 102;
inline constexpr int kMeasure = 103;
inline constexpr int kProgramming = 104;
inline constexpr int kProgrammingInformation = 105;
inline constexpr int kInputOptions = 107;
inline constexpr int kUnitCelsius = 108;
inline constexpr int kUnitFahrenheit = 109;
inline constexpr int kProgrammingFile = 110;
inline constexpr int kAllFiles = 111;
inline constexpr int kConnectionTest = 114;
inline constexpr int kNoData = 115;
inline constexpr int kJunctionField = 117;
inline constexpr int kCancel = 144;
inline constexpr int kCommunicationErrorTitle = 145;
inline constexpr int kCommunicationEnabled = 146;
inline constexpr int kDoNotUnplug = 147;
inline constexpr int kCjcField = 148;
inline constexpr int kSpanTmax = 150;
inline constexpr int kPointOutOfRange = 152;
inline constexpr int kNoisyRange = 156;
inline constexpr int kMode = 158;
inline constexpr int kTrimsTitle = 159;
inline constexpr int kPortInUse = 160;
inline constexpr int kPortSharingTitle = 161;
inline constexpr int kDisplayHint = 162;
inline constexpr int kNoisySpan = 163;
inline constexpr int kSensorPage = 164;
inline constexpr int kCjcPage = 165;
inline constexpr int kPointsField = 166;
inline constexpr int kPhysical = 167;
inline constexpr int kPointCountField = 168;
inline constexpr int kInvalidFormat = 169;
inline constexpr int kPointCount = 170;
inline constexpr int kNotRising = 171;
inline constexpr int kDevice = 172;
inline constexpr int kInvalidFile = 174;
inline constexpr int kBurnoutDown = 175;
inline constexpr int kBurnoutUp = 176;
inline constexpr int kDirect = 177;
inline constexpr int kReverse = 178;
inline constexpr int kAboutTitle = 179;
inline constexpr int kProductName = 180;
inline constexpr int kVersion = 181;
inline constexpr int kGuideNext = 185;
inline constexpr int kGuideProgramHint = 197;
inline constexpr int kGuideMeasureHint = 198;
inline constexpr int kGuideEnd = 199;
inline constexpr int kGuideCancel = 200;
inline constexpr int kIncompatible = 205;
inline constexpr int kOutputTitle = 207;
inline constexpr int kInputRange = 208;
inline constexpr int kInternalJunctionCompensation = 209;
inline constexpr int kRangeSeparator = 210;
inline constexpr int kOutputTypeField = 211;
inline constexpr int kOutputRange = 215;
inline constexpr int kDeviceReading = 218;
inline constexpr int kDeviceChanged = 219;
inline constexpr int kTrips = 221;
inline constexpr int kTripsSetting = 222;
inline constexpr int kTrip = 223;
inline constexpr int kDelay = 224;
inline constexpr int kHysteresisField = 225;
inline constexpr int kMax = 226;
inline constexpr int kMin = 227;
inline constexpr int kFilter = 228;
inline constexpr int kOutputOptions = 229;
inline constexpr int kConfigurationSoftware = 231;
inline constexpr int kInputTitle = 232;
// The original texts the code names (ids below 300).
inline constexpr int kInputNotProgrammable = 2001;
inline constexpr int kPointsTableInvalid = 2002;
inline constexpr int kCalibrationInvalid = 2003;
inline constexpr int kTripDelayTooLong = 2004;
inline constexpr int kLinkLostWhileProgramming = 2005;
// The serial-number window: title, the four field captions, its three buttons.
inline constexpr int kSerialTitle = 2010;
inline constexpr int kSerialCustomer = 2011;
inline constexpr int kSerialYear = 2012;
inline constexpr int kSerialOrder = 2013;
inline constexpr int kSerialProgressive = 2014;
inline constexpr int kSerialRead = 2015;
inline constexpr int kSerialWrite = 2016;
inline constexpr int kSerialClose = 2017;
// Why a serial-number field is refused (the same Italian text in both languages).
inline constexpr int kSerialCustomerLimits = 2185;
inline constexpr int kSerialYearLimits = 2186;
inline constexpr int kSerialOrderLimits = 2187;
inline constexpr int kSerialProgressiveLimits = 2188;
// Desktop program: the serial-number menu item, the help document messages, the simulator's
// entry in the port list.
inline constexpr int kSerialNumberMenu = 2020;
inline constexpr int kHelpNotFound = 2021;
inline constexpr int kSimulatorPort = 2022;
inline constexpr int kHelpNotOpened = 2023;
// Linearisation preview and the points editor's sensor matching.
inline constexpr int kPreviewNoisyRange = 2030;
inline constexpr int kPreviewSignalSpan = 2031;
inline constexpr int kPreviewLeastSpan = 2032;
inline constexpr int kPreviewTitle = 2033;
inline constexpr int kPreviewButton = 2034;
inline constexpr int kPreviewReference = 2035;
inline constexpr int kPreviewTable = 2036;
inline constexpr int kPreviewError = 2037;
inline constexpr int kPreviewLargestError = 2038;
inline constexpr int kPreviewAt = 2039;
inline constexpr int kPreviewSignal = 2040;
inline constexpr int kPreviewAgainstPoints = 2041;
inline constexpr int kPreviewUnavailable = 2042;
inline constexpr int kPointsImport = 2043;
inline constexpr int kPointsExport = 2044;
inline constexpr int kPointsGenerate = 2045;
inline constexpr int kCsvInvalidLine = 2046;
inline constexpr int kFileNotWritten = 2047;
inline constexpr int kFileNotRead = 2048;
inline constexpr int kCvdTitle = 2049;
// Live trend and measurement logging: the logging command, its file dialog and messages,
// the trend chart's title, axis and reference-line names.
inline constexpr int kStartLogging = 2050;
inline constexpr int kStopLogging = 2051;
inline constexpr int kLogNotWritable = 2052;
inline constexpr int kLogDialogTitle = 2053;
inline constexpr int kLogFileFilter = 2054;
inline constexpr int kLogStopped = 2055;
inline constexpr int kTrendTitle = 2056;
inline constexpr int kTrendOutput = 2057;
inline constexpr int kTrendRangeLow = 2058;
inline constexpr int kTrendRangeHigh = 2059;
inline constexpr int kLoggingTo = 2060;
inline constexpr int kTrendTime = 2061;
// The line: a vanished port, programming that cannot be confirmed, a value without a
// defined result.
inline constexpr int kPortDisappeared = 2062;
inline constexpr int kNotConfirmed = 2063;
inline constexpr int kReadAgainQuestion = 2064;
inline constexpr int kUnknownValue = 2065;
// The desktop on Linux: a port the user may not open, ports plugged in and out, recent
// files, where the help documents were looked for.
inline constexpr int kPortNoPermission = 2190;
inline constexpr int kPortNoPermissionTitle = 2191;
inline constexpr int kPortNoPermissionFix = 2192;
inline constexpr int kPortVanished = 2193;
inline constexpr int kPortAppeared = 2194;
inline constexpr int kRecentFiles = 2195;
inline constexpr int kClearRecentFiles = 2196;
inline constexpr int kFileGone = 2197;
inline constexpr int kHelpLookedIn = 2198;
inline constexpr int kNoPortWorkOffline = 2199;
// Configuration report, compare, verified programming.
inline constexpr int kReportTitle = 2070;
inline constexpr int kReportSource = 2071;
inline constexpr int kReportConnectedTransmitter = 2072;
inline constexpr int kReportIdentification = 2073;
inline constexpr int kReportModel = 2074;
inline constexpr int kReportFirmware = 2075;
inline constexpr int kReportDate = 2076;
inline constexpr int kReportRanges = 2077;
inline constexpr int kReportBreakpoints = 2078;
inline constexpr int kReportPoint = 2079;
inline constexpr int kReportOutputNote = 2080;
inline constexpr int kReportNoTable = 2081;
inline constexpr int kCompareTitle = 2082;
inline constexpr int kCompareMenu = 2083;
inline constexpr int kCompareField = 2084;
inline constexpr int kCompareTransmitter = 2085;
inline constexpr int kCompareDiffers = 2086;
inline constexpr int kCompareEqual = 2087;
inline constexpr int kCompareDifferent = 2088;
inline constexpr int kVerifyOption = 2089;
inline constexpr int kVerifyPassed = 2090;
inline constexpr int kVerifyFailed = 2091;
inline constexpr int kVerifyIncomplete = 2092;
inline constexpr int kExportPdfMenu = 2093;
inline constexpr int kPdfDocument = 2094;
inline constexpr int kTripHighLevel = 2096;
inline constexpr int kTripLowLevel = 2097;
inline constexpr int kHysteresis = 2098;
inline constexpr int kNoTransmitter = 2099;
// Why a file could not be read or written (after the heading and the path), and the notice of
// a save written in place.
inline constexpr int kFileMissing = 2140;
inline constexpr int kFilePermissionDenied = 2141;
inline constexpr int kFileIsFolder = 2142;
inline constexpr int kFileNotRegular = 2143;
inline constexpr int kFileTooShort = 2144;
inline constexpr int kFileTooLarge = 2145;
inline constexpr int kFileWrongFormat = 2146;
inline constexpr int kFileReadOnly = 2147;
inline constexpr int kFileSystemError = 2148;
inline constexpr int kFileSavedInPlace = 2149;
inline constexpr int kFileDoesNotFitTransmitter = 2150;
// The configuration check before a plan: why a configuration cannot be programmed.
inline constexpr int kConfigurationNotProgrammable = 2160;
inline constexpr int kMaximumBelowMinimum = 2161;
inline constexpr int kRangeEmpty = 2162;
inline constexpr int kBeyondRangeCells = 2163;
inline constexpr int kAllowedFrom = 2164;
inline constexpr int kAllowedTo = 2165;
inline constexpr int kSmallestSpan = 2166;
// The comparison of the configuration read back after programming with what was asked.
inline constexpr int kReadBackDiffers = 2167;
inline constexpr int kReadBackInputCode = 2168;
inline constexpr int kReadBackOptions = 2169;
inline constexpr int kReadBackAsked = 2170;
inline constexpr int kReadBackRead = 2171;
// The programming form: trips that no longer fit, a trim out of its slider's reach, a code
// no list holds, a report of an edited configuration.
inline constexpr int kTripsOutsideRange = 2180;
inline constexpr int kTripsInputChanged = 2181;
inline constexpr int kTrimOutOfRange = 2182;
inline constexpr int kUnknownInputCode = 2183;
inline constexpr int kModified = 2184;
// The history of operations (operation names 2240.., outcome names 2250..).
inline constexpr int kHistoryMenu = 2200;
inline constexpr int kHistoryDatabaseMenu = 2201;
inline constexpr int kHistoryTitle = 2202;
inline constexpr int kHistorySerial = 2203;
inline constexpr int kHistoryModel = 2204;
inline constexpr int kHistoryFrom = 2205;
inline constexpr int kHistoryTo = 2206;
inline constexpr int kHistoryStation = 2207;
inline constexpr int kHistoryOutcome = 2208;
inline constexpr int kHistoryOperation = 2209;
inline constexpr int kHistoryUser = 2210;
inline constexpr int kHistoryPort = 2211;
inline constexpr int kHistoryTime = 2212;
inline constexpr int kHistoryAll = 2213;
inline constexpr int kHistoryCompare = 2214;
inline constexpr int kHistoryLoadIntoForm = 2215;
inline constexpr int kHistoryExportCsv = 2216;
inline constexpr int kHistoryEntry = 2217;
inline constexpr int kHistoryNotWritten = 2218;
inline constexpr int kHistorySerialUnset = 2219;
inline constexpr int kHistoryLastSeen = 2220;
inline constexpr int kHistoryChanged = 2221;
inline constexpr int kHistoryUnchanged = 2222;
inline constexpr int kHistoryFirstSeen = 2223;
inline constexpr int kHistoryOtherTransmitters = 2224;
inline constexpr int kHistoryNoConfiguration = 2225;
inline constexpr int kHistoryChainIntact = 2226;
inline constexpr int kHistoryChainBroken = 2227;
inline constexpr int kHistoryContentChanged = 2228;
inline constexpr int kHistoryPreviousMissing = 2229;
inline constexpr int kHistoryConnection = 2230;
inline constexpr int kHistoryConnectionInvalid = 2231;
inline constexpr int kHistoryNoEntries = 2232;
inline constexpr int kHistoryDetails = 2233;
inline constexpr int kHistoryNoEntry = 2234;
inline constexpr int kHistoryCannotOpen = 2235;
inline constexpr int kHistoryFirmware = 2236;
inline constexpr int kHistorySummary = 2237;
inline constexpr int kHistoryMemoryBefore = 2238;
inline constexpr int kHistoryMemoryAfter = 2239;
inline constexpr int kHistoryWrites = 2246;
inline constexpr int kHistoryVerification = 2247;
inline constexpr int kHistoryConfiguration = 2248;
inline constexpr int kHistoryUnknownSerial = 2249;
inline constexpr int kHistoryWritten = 2258;
inline constexpr int kHistoryHash = 2259;
inline constexpr int kHistoryDoesNotFit = 2260;
inline constexpr int kHistoryDatabaseTitle = 2261;
inline constexpr int kHistoryLimited = 2262;
// Long operations: the text of each step (in the order of link::Step), the time left
// ("about" N "s left"), the question before stopping a programming whose writes have begun,
// and the closing words.
inline constexpr int kFirstStepText = 2270;
inline constexpr int kTimeLeftBefore = 2284;
inline constexpr int kTimeLeftAfter = 2285;
inline constexpr int kStopWritingQuestion = 2286;
inline constexpr int kOperationCancelled = 2287;
inline constexpr int kProgrammingDone = 2288;
inline constexpr int kProgrammingNotDone = 2289;
}  // namespace text

// The text of an identifier (language offset already added by the caller), UTF-8.
// An identifier that the table does not hold gives an empty text.
const std::string& LoadResString(int id);

// True when the table holds the identifier.
bool HasResString(int id);

// Language offset for a language index: the number held by text 1 times the index
// (0 for Italian, 300 for English).
int LanguageOffsetFor(int languageIndex);

// The text of an Italian identifier in the language of the given offset.
inline const std::string& Text(int italianId, int languageOffset) {
    return LoadResString(languageOffset + italianId);
}

}  // namespace vantrel::resources
