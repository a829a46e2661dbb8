#pragma once

#include <string>

namespace vantrel::resources {

// Text identifiers are the Italian ones; the English text of identifier n is n + 300.
// Identifier 1 holds the distance between the two languages ("300").
inline constexpr int kLanguageDistanceTextId = 1;

// Identifiers of this program's own texts, beyond the original table (same +300 rule).
namespace text {
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
