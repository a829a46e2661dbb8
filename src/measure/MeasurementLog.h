// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/Clock.h"
#include "measure/MeasureLoop.h"

// Logging the live measurement to a CSV file: one row per displayed frame, each row handed
// to the system as soon as it is written, so a transmitter that falls silent, a closed or a
// killed program loses nothing that was already logged.
namespace vantrel::measure {

// A moment in wall-clock time and the local offset from UTC that goes with it.
struct Timestamp {
    std::int64_t unixMilliseconds = 0;
    int utcOffsetMinutes = 0;
};

// Where the log takes its times from; tests give fixed times.
using TimeSource = std::function<Timestamp()>;

// "2024-05-03T14:22:05.123+02:00" (local time with its offset; "+00:00" for UTC).
std::string IsoTime(const Timestamp& time);

// The system's wall clock with the local offset.
Timestamp SystemNow();

// Wall-clock time that follows the session's clock: the system time when the source is made,
// moved on by the clock's elapsed seconds. On the real clock this is the wall clock without
// its jumps; on the virtual clock a simulated run gets rows as far apart as its frames.
TimeSource ClockAnchoredTimeSource(link::Clock& clock, Timestamp start = SystemNow());

inline constexpr const char* kLogHeader =
    "time,output,output_unit,value,unit,under_range,over_range,trip1,trip2";

// One CSV row (no line end) for a reading taken at the given time. Numbers always use '.';
// the value has the display's resolution, the output three decimals; lamps are 0/1 for the
// range and green/red/yellow for the trips (empty on a model without trips); an unknown
// output or value is an empty field.
std::string LogRow(const Reading& reading, const Timestamp& time);
// The row that marks an interruption of the stream: the time of the first reading after it
// and every other field empty.
std::string GapRow(const Timestamp& time);

class MeasurementLog {
public:
    struct OpenResult {
        std::unique_ptr<MeasurementLog> log;
        std::string error;  // the system's reason when the file cannot be written
    };
    // Creates (or empties) the file and writes the header line.
    static OpenResult Open(const std::string& path, TimeSource time);

    ~MeasurementLog();
    MeasurementLog(const MeasurementLog&) = delete;
    MeasurementLog& operator=(const MeasurementLog&) = delete;

    // Writes one row and flushes it; a reading more than kGapSeconds after the previous row
    // is preceded by a gap row. After a failed write (disk full, medium removed) the
    // partial row is cut off again, the log stops writing and error() says why.
    bool Append(const Reading& reading);

    const std::string& path() const { return m_path; }
    long rows() const { return m_rows; }
    bool failed() const { return !m_error.empty(); }
    const std::string& error() const { return m_error; }

private:
    MeasurementLog(std::string path, TimeSource time) : m_path(std::move(path)), m_time(std::move(time)) {}
    bool WriteLine(const std::string& line);

    std::string m_path;
    TimeSource m_time;
    std::ofstream m_file;
    std::uintmax_t m_goodSize = 0;  // bytes of whole lines written so far
    long m_rows = 0;
    std::optional<std::int64_t> m_lastRow;  // time of the last reading written (ms)
    std::string m_error;
};

// Passes everything on to the display and, while a log is set, appends each shown reading.
class LoggingObserver final : public MeasureObserver {
public:
    explicit LoggingObserver(MeasureObserver& display, MeasurementLog* log = nullptr)
        : m_display(display), m_log(log) {}
    void setLog(MeasurementLog* log) { m_log = log; }
    MeasurementLog* log() const { return m_log; }

    void Started(const Scale& scale) override { m_display.Started(scale); }
    void Show(const Reading& reading) override;
    void Stopped() override { m_display.Stopped(); }

private:
    MeasureObserver& m_display;
    MeasurementLog* m_log;
};

}  // namespace vantrel::measure
