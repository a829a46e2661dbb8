// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "measure/MeasurementLog.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "measure/Trend.h"

namespace vantrel::measure {

namespace {

constexpr std::int64_t kMsPerSecond = 1000;
constexpr std::int64_t kSecondsPerDay = 86400;
constexpr int kOutputDecimals = 3;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct CivilTime {
    std::int64_t year;
    int month, day, hour, minute, second;
};

CivilTime CivilFromSeconds(std::int64_t seconds) {
    std::int64_t days = seconds / kSecondsPerDay;
    std::int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t doe = days - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    return {year, month, day, static_cast<int>(rest / 3600), static_cast<int>(rest % 3600 / 60),
            static_cast<int>(rest % 60)};
}

// The local offset from UTC at a moment, from the broken-down local time.
int LocalOffsetMinutes(std::time_t t) {
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &t) != 0) return 0;
#else
    if (localtime_r(&t, &local) == nullptr) return 0;
#endif
    const std::int64_t localSeconds = DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) * kSecondsPerDay +
                                      local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return static_cast<int>((localSeconds - static_cast<std::int64_t>(t)) / 60);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

// A number with a fixed count of decimals and '.', whatever the process locale says.
std::string Fixed(double value, int decimals) {
    if (!std::isfinite(value)) return {};
    std::array<char, 64> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
    if (error != std::errc()) return {};
    std::string text(buffer.data(), end);
    if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-') text.erase(0, 1);  // no "-0.0"
    return text;
}

const char* TripText(Lamp lamp) {
    switch (lamp) {
        case Lamp::Red: return "red";
        case Lamp::Yellow: return "yellow";
        case Lamp::Green: return "green";
        case Lamp::Grey: break;
    }
    return "grey";
}

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

std::string IsoTime(const Timestamp& time) {
    const std::int64_t localMs = time.unixMilliseconds + std::int64_t{time.utcOffsetMinutes} * 60 * kMsPerSecond;
    const std::int64_t seconds = FloorDiv(localMs, kMsPerSecond);
    const int ms = static_cast<int>(localMs - seconds * kMsPerSecond);
    const CivilTime c = CivilFromSeconds(seconds);
    const int offset = std::abs(time.utcOffsetMinutes);
    char text[48];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d", static_cast<long long>(c.year),
                  c.month, c.day, c.hour, c.minute, c.second, ms, time.utcOffsetMinutes < 0 ? '-' : '+', offset / 60,
                  offset % 60);
    return text;
}

Timestamp SystemNow() {
    const auto now = std::chrono::system_clock::now();
    const std::int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    return {ms, LocalOffsetMinutes(static_cast<std::time_t>(FloorDiv(ms, kMsPerSecond)))};
}

TimeSource ClockAnchoredTimeSource(link::Clock& clock, Timestamp start) {
    const double origin = clock.now();
    return [&clock, origin, start] {
        const double elapsed = clock.now() - origin;
        Timestamp t = start;
        t.unixMilliseconds += static_cast<std::int64_t>(std::llround(elapsed * kMsPerSecond));
        return t;
    };
}

std::string LogRow(const Reading& r, const Timestamp& time) {
    std::string row = IsoTime(time);
    // A value without a defined result leaves its field empty.
    row += ',' + (r.output ? Fixed(*r.output, kOutputDecimals) : std::string());
    row += ',';
    row += r.outputIsVoltage ? "V" : "mA";
    row += ',' + (r.value ? Fixed(*r.value, r.valueDecimals) : std::string());
    row += ',' + (r.unit ? std::string(math::Symbol(*r.unit)) : std::string());
    row += r.range.underRange == Lamp::Red ? ",1" : ",0";
    row += r.range.overRange == Lamp::Red ? ",1" : ",0";
    row += ',';
    if (r.trips) row += TripText(r.trips->trip1);
    row += ',';
    if (r.trips) row += TripText(r.trips->trip2);
    return row;
}

MeasurementLog::OpenResult MeasurementLog::Open(const std::string& path, TimeSource time) {
    OpenResult result;
    std::unique_ptr<MeasurementLog> log(new MeasurementLog(path, std::move(time)));
    errno = 0;
    log->m_file.open(PathOf(path), std::ios::binary | std::ios::trunc);
    if (!log->m_file) {
        result.error = errno != 0 ? std::strerror(errno) : "cannot be created";
        return result;
    }
    if (!log->WriteLine(kLogHeader)) {
        result.error = log->m_error;
        return result;
    }
    result.log = std::move(log);
    return result;
}

MeasurementLog::~MeasurementLog() = default;

bool MeasurementLog::WriteLine(const std::string& line) {
    if (failed()) return false;
    const std::string text = line + "\r\n";
    errno = 0;
    m_file.write(text.data(), static_cast<std::streamsize>(text.size()));
    m_file.flush();
    if (m_file) {
        m_goodSize += text.size();
        return true;
    }
    m_error = errno != 0 ? std::strerror(errno) : "write failed";
    // Cut a partial row off, so the file ends with whole rows only.
    m_file.close();
    std::error_code ignored;
    std::filesystem::resize_file(PathOf(m_path), m_goodSize, ignored);
    return false;
}

std::string GapRow(const Timestamp& time) { return IsoTime(time) + ",,,,,,,,"; }

bool MeasurementLog::Append(const Reading& reading) {
    const Timestamp now = m_time ? m_time() : SystemNow();
    // The stream was interrupted (or stopped and started again) since the last row: a row
    // with the time and nothing else says so, and breaks a plotted line there.
    if (m_lastRow && static_cast<double>(now.unixMilliseconds - *m_lastRow) > kGapSeconds * 1000) {
        if (!WriteLine(GapRow(now))) return false;
        ++m_rows;
    }
    if (!WriteLine(LogRow(reading, now))) return false;
    m_lastRow = now.unixMilliseconds;
    ++m_rows;
    return true;
}

void LoggingObserver::Show(const Reading& reading) {
    if (m_log) m_log->Append(reading);
    m_display.Show(reading);
}

}  // namespace vantrel::measure
