// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/model/ConfigReport.h"

#include <cmath>
#include <sstream>

#include "device/Identify.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"
#include "ui/model/RecordFields.h"

namespace vantrel::ui {

namespace {

namespace txt = resources::text;
using device::FromFlag;


std::string T(int id, int offset) { return resources::Text(id, offset); }

std::string Number(double value, const char* pattern = "####0.###") { return resources::Format(value, pattern); }

std::string SerialText(const device::SerialNumber& s) {
    std::ostringstream text;
    text << s.customer << ' ' << resources::Format(s.yearCode + device::kYearShownOffset, "00") << ' ' << s.order << ' '
         << s.progressive;
    return text.str();
}

// Rows of the fields that apply, in the order given.
std::vector<ReportRow> Rows(const std::vector<FieldText>& fields, std::initializer_list<RecordField> wanted) {
    std::vector<ReportRow> rows;
    for (RecordField w : wanted)
        for (const FieldText& f : fields)
            if (f.field == w && f.applies) rows.push_back({f.label, f.value});
    return rows;
}

ReportSection Identification(const ReportInput& in) {
    const int o = in.languageOffset;
    ReportSection s{ReportSectionKind::Identification, T(txt::kReportIdentification, o), {}, {}, {}};
    s.rows.push_back({T(txt::kReportSource, o),
                      in.fromTransmitter ? T(txt::kReportConnectedTransmitter, o) : in.fileName});
    if (in.fromTransmitter) {
        const std::string names = device::Identify(in.identity).modelNames;
        s.rows.push_back({T(txt::kReportModel, o), names.substr(0, names.find("\r\n"))});
        s.rows.push_back({T(txt::kReportFirmware, o), std::to_string(in.identity.FirmwareVersion) + "." +
                                                          std::to_string(in.identity.FirmwareRelease)});
        if (in.serial) s.rows.push_back({T(resources::text::kSerialTitle, o), SerialText(*in.serial)});
    }
    s.rows.push_back({T(txt::kReportDate, o), in.date});
    return s;
}

ReportSection Ranges(const ReportInput& in) {
    const int o = in.languageOffset;
    const device::ConfigRecord& r = in.record;
    const std::string to = T(resources::text::kRangeSeparator, o);
    ReportSection s{ReportSectionKind::Ranges, T(txt::kReportRanges, o), {}, {}, {}};
    s.rows.push_back({Caption(208, o), Number(static_cast<double>(r.InRangeMin)) + to + Number(static_cast<double>(r.InRangeMax)) + " " + InputUnit(r)});
    // The output range as the range control shows it: for a reverse output the minimum box
    // holds the higher value.
    s.rows.push_back({Caption(215, o), Number(static_cast<double>(r.OutRangeMin)) + to + Number(static_cast<double>(r.OutRangeMax)) + " " +
                                           OutputUnit(r, in.identity)});
    return s;
}

ReportSection Trips(const ReportInput& in, const std::vector<FieldText>& fields) {
    const int o = in.languageOffset;
    const device::ConfigRecord& r = in.record;
    ReportSection s{ReportSectionKind::Trips, T(resources::text::kTrips, o), {}, {}, {}};
    const double span = static_cast<double>(r.InRangeMin) - static_cast<double>(r.InRangeMax);
    const std::string unit = InputUnit(r);
    const auto trip = [&](int number, float high, float low, bool minimum) {
        const double hysteresis = span == 0 ? 0 : std::fabs(100.0 * (static_cast<double>(low) - static_cast<double>(high)) / span);
        const float level = minimum ? low : high;
        s.rows.push_back({T(resources::text::kTrip, o) + " " + std::to_string(number),
                          Number(static_cast<double>(level), "####0.0##") + " " + unit + " - " + T(minimum ? 227 : 226, o) + ", " +
                              T(txt::kHysteresis, o) + " " + Number(hysteresis, "####0.0") + " %"});
    };
    trip(1, r.Trip1High, r.Trip1Low, (r.TripMode & 2) != 0);
    trip(2, r.Trip2High, r.Trip2Low, (r.TripMode & 1) != 0);
    for (ReportRow& row : Rows(fields, {RecordField::TripDelay})) s.rows.push_back(std::move(row));
    return s;
}

ReportSection Breakpoints(const ReportInput& in) {
    const int o = in.languageOffset;
    ReportSection s{ReportSectionKind::Breakpoints, T(txt::kReportBreakpoints, o), {}, {}, {}};
    if (!in.breakpoints || in.breakpoints->temps.empty()) {
        s.note = T(txt::kReportNoTable, o);
        return s;
    }
    const ReportBreakpoints& b = *in.breakpoints;
    const device::ConfigRecord& r = in.record;
    const std::string outUnit = OutputUnit(r, in.identity);
    ReportTable table;
    table.columns = {T(txt::kReportPoint, o), T(resources::text::kInputTitle, o) + (b.unit.empty() ? "" : " (" + b.unit + ")"),
                     T(resources::text::kOutputTitle, o) + " (" + outUnit + ")"};
    // The output line from the range's low end to its high end; a reverse output runs from
    // the output maximum down. The range control keeps the minimum box first either way.
    const double low = FromFlag(r.OutputDirect) ? static_cast<double>(r.OutRangeMin) : static_cast<double>(r.OutRangeMax);
    const double high = FromFlag(r.OutputDirect) ? static_cast<double>(r.OutRangeMax) : static_cast<double>(r.OutRangeMin);
    const double inSpan = static_cast<double>(b.rangeMax) - static_cast<double>(b.rangeMin);
    for (std::size_t i = 0; i < b.temps.size(); ++i) {
        const double fraction = inSpan == 0 ? 0 : (static_cast<double>(b.temps[i] - b.rangeMin)) / inSpan;
        const double output = low + fraction * (high - low);
        table.rows.push_back({std::to_string(i + 1), Number(static_cast<double>(b.temps[i]), "####0.0##"), Number(output, "####0.000")});
    }
    s.table = std::move(table);
    s.note = T(txt::kReportOutputNote, o);
    return s;
}

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace

const ReportSection* ConfigReport::Find(ReportSectionKind kind) const {
    for (const ReportSection& s : sections)
        if (s.kind == kind) return &s;
    return nullptr;
}

ConfigReport MakeConfigReport(const ReportInput& in) {
    const int o = in.languageOffset;
    FieldContext context{o, in.identity};
    const std::vector<FieldText> fields = DescribeFields(in.record, context);
    ConfigReport report;
    report.title = T(txt::kReportTitle, o);
    report.sections.push_back(Identification(in));
    report.sections.push_back({ReportSectionKind::Input, T(resources::text::kInputTitle, o),
                               Rows(fields, {RecordField::InputType, RecordField::TcType, RecordField::RtdSensor,
                                             RecordField::Wires, RecordField::PotRange, RecordField::CjcInternal,
                                             RecordField::LinearOn, RecordField::UnitCelsius, RecordField::CustomOn,
                                             RecordField::PointCount, RecordField::PointCountCjc}),
                               {}, {}});
    report.sections.push_back(Ranges(in));
    report.sections.push_back({ReportSectionKind::Output, T(resources::text::kOutputTitle, o),
                               Rows(fields, {RecordField::OutputType, RecordField::OutputDirect,
                                             RecordField::BurnoutDown}),
                               {}, {}});
    if (in.identity.DeviceModel == device::kModelWithTrips)
        report.sections.push_back({ReportSectionKind::Trims, T(resources::text::kTrimsTitle, o),
                                   Rows(fields, {RecordField::ZeroAdjust, RecordField::SpanAdjust}), {}, {}});
    report.sections.push_back({ReportSectionKind::Filter, T(resources::text::kFilter, o), Rows(fields, {RecordField::FilterOn}),
                               {}, {}});
    if (in.identity.DeviceModel == device::kModelWithTrips) report.sections.push_back(Trips(in, fields));
    report.sections.push_back(Breakpoints(in));
    return report;
}

std::string ReportHtml(const ConfigReport& report) {
    std::ostringstream html;
    html << "<html><head><meta charset=\"utf-8\"><style>"
            "body { font-family: sans-serif; font-size: 10pt; color: #1d2733; }"
            "h1 { font-size: 16pt; color: #1f4e8c; margin-bottom: 4px; }"
            "h2 { font-size: 11.5pt; color: #1f4e8c; margin-top: 12px; margin-bottom: 3px; }"
            "td.label { color: #4a5663; padding-right: 18px; }"
            "th { background-color: #e3ebf6; text-align: right; padding: 2px 10px; }"
            "td.num { text-align: right; padding: 1px 10px; }"
            "p.note { color: #5c6773; font-size: 8.5pt; }"
            "</style></head><body>";
    html << "<h1>" << Escape(report.title) << "</h1>";
    for (const ReportSection& s : report.sections) {
        html << "<h2>" << Escape(s.title) << "</h2>";
        if (!s.rows.empty()) {
            html << "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"2\">";
            for (const ReportRow& row : s.rows)
                html << "<tr><td class=\"label\" width=\"32%\">" << Escape(row.label) << "</td><td><b>" << Escape(row.value)
                     << "</b></td></tr>";
            html << "</table>";
        }
        if (s.table) {
            html << "<table cellspacing=\"0\" cellpadding=\"2\" border=\"0\"><tr>";
            for (const std::string& c : s.table->columns) html << "<th>" << Escape(c) << "</th>";
            html << "</tr>";
            for (std::size_t i = 0; i < s.table->rows.size(); ++i) {
                html << (i % 2 ? "<tr style=\"background-color:#f4f7fb\">" : "<tr>");
                for (const std::string& cell : s.table->rows[i]) html << "<td class=\"num\">" << Escape(cell) << "</td>";
                html << "</tr>";
            }
            html << "</table>";
        }
        if (!s.note.empty()) html << "<p class=\"note\">" << Escape(s.note) << "</p>";
    }
    html << "</body></html>";
    return html.str();
}

std::string ReportText(const ConfigReport& report) {
    std::ostringstream text;
    text << report.title << '\n';
    for (const ReportSection& s : report.sections) {
        text << '\n' << s.title << '\n';
        for (const ReportRow& row : s.rows) text << "  " << row.label << ": " << row.value << '\n';
        if (s.table) {
            for (std::size_t c = 0; c < s.table->columns.size(); ++c) text << (c ? "\t" : "  ") << s.table->columns[c];
            text << '\n';
            for (const auto& row : s.table->rows) {
                for (std::size_t c = 0; c < row.size(); ++c) text << (c ? "\t" : "  ") << row[c];
                text << '\n';
            }
        }
        if (!s.note.empty()) text << "  " << s.note << '\n';
    }
    return text.str();
}

}  // namespace vantrel::ui
