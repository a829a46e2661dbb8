// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <ostream>

#include "cli/Commands.h"
#include "files/Json.h"
#include "files/ProgramFile.h"
#include "resources/StringTable.h"

namespace vantrel::cli {

using files::JsonWriter;

namespace {


template <typename Record, typename Visitor>
void VisitFields(const Record& r, Visitor&& field) {
    field("InputType", r.InputType);
    field("TcType", r.TcType);
    field("RtdSensor", r.RtdSensor);
    field("Wires", r.Wires);
    field("PotRange", r.PotRange);
    field("Spare1", r.Spare1);
    field("Spare2", r.Spare2);
    field("InRangeMax", r.InRangeMax);
    field("InRangeMin", r.InRangeMin);
    field("CjcInternal", r.CjcInternal);
    field("Spare3", r.Spare3);
    field("LinearOn", r.LinearOn);
    field("LangOffset", r.LangOffset);
    field("UnitCelsius", r.UnitCelsius);
    field("ZeroAdjust", r.ZeroAdjust);
    field("SpanAdjust", r.SpanAdjust);
    field("CustomOn", r.CustomOn);
    field("PointCount", r.PointCount);
    field("PointCountCjc", r.PointCountCjc);
    field("Points", r.Points);
    field("PointsCjc", r.PointsCjc);
    field("BurnoutDown", r.BurnoutDown);
    field("OutputDirect", r.OutputDirect);
    field("OutRangeMax", r.OutRangeMax);
    field("OutRangeMin", r.OutRangeMin);
    field("OutputType", r.OutputType);
    field("FilterOn", r.FilterOn);
    field("Trip1High", r.Trip1High);
    field("Trip1Low", r.Trip1Low);
    field("Trip2High", r.Trip2High);
    field("Trip2Low", r.Trip2Low);
    field("TripDelay", r.TripDelay);
    field("TripMode", r.TripMode);
}

struct JsonField {
    JsonWriter& json;
    void operator()(const char* name, std::int16_t v) { json.Key(name).Value(static_cast<int>(v)); }
    void operator()(const char* name, std::uint8_t v) { json.Key(name).Value(static_cast<int>(v)); }
    void operator()(const char* name, float v) { json.Key(name).Value(v); }
    template <std::size_t N>
    void operator()(const char* name, const std::array<device::Point, N>& points) {
        json.Key(name).BeginArray();
        for (const auto& p : points) json.BeginArray().Value(p.physical).Value(p.input).EndArray();
        json.EndArray();
    }
};

std::string Number(double v) {
    JsonWriter w;
    w.Value(v);
    return w.str();
}

std::string Number(float v) {
    JsonWriter w;
    w.Value(v);
    return w.str();
}

struct TextField {
    std::ostream& out;
    void operator()(const char* name, std::int16_t v) { out << name << ": " << v << '\n'; }
    void operator()(const char* name, std::uint8_t v) { out << name << ": " << static_cast<int>(v) << '\n'; }
    void operator()(const char* name, float v) { out << name << ": " << Number(v) << '\n'; }
    template <std::size_t N>
    void operator()(const char* name, const std::array<device::Point, N>& points) {
        for (std::size_t i = 0; i < N; ++i)
            out << name << '[' << i << "]: " << Number(points[i].physical) << ' ' << Number(points[i].input) << '\n';
    }
};

}  // namespace

std::optional<device::ConfigRecord> ReadProgrammingFile(Context& context, const std::string& path) {
    const files::ReadResult file = files::ReadProgramFile(path);
    if (file.ok()) return file.record;
    context.err << files::FileProblemMessage(resources::text::kInvalidFile, path, file.problem(), context.languageOffset()) << '\n';
    return std::nullopt;
}

int ReportOutputProblem(Context& context, const std::string& path, const files::FileProblem& problem) {
    context.err << files::FileProblemMessage(resources::text::kFileNotWritten, path, problem, context.languageOffset())
                << '\n';
    return kExitOutputNotWritten;
}

int WriteOutputFile(Context& context, const std::string& path, std::string_view content) {
    const files::WriteResult written = files::SafeWrite(path, content);
    if (!written.ok()) return ReportOutputProblem(context, path, written.problem);
    if (!written.atomic)
        context.err << resources::Text(resources::text::kFileSavedInPlace, context.languageOffset()) << '\n'
                    << path << '\n';
    return kExitDone;
}

int FileShow(Context& context) {
    const std::vector<std::string> positionals = context.invocation.Positionals();
    if (positionals.size() != 3) {
        context.err << "usage: vantrel-cli file show FILE.D70 [--json]\n";
        return kExitUsage;
    }
    const std::optional<device::ConfigRecord> record = ReadProgrammingFile(context, positionals[2]);
    if (!record) return kExitInvalidFile;
    if (context.invocation.HasFlag("--json")) {
        JsonWriter json;
        json.BeginObject();
        VisitFields(*record, JsonField{json});
        json.EndObject();
        context.out << json.str() << '\n';
    } else {
        VisitFields(*record, TextField{context.out});
    }
    return kExitDone;
}

}  // namespace vantrel::cli
