// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace vantrel::ui {

// The input code and option flags that select the transmitter's input (cells 10 and 11).
struct InputEncoding {
    int inputCode = 0;
    int optionFlags = 0;
    friend bool operator==(const InputEncoding&, const InputEncoding&) = default;
};

// What the form prepares before the points editor opens; texts already in the current
// language.
struct PointsEditorRequest {
    InputEncoding encoding;
    std::string title;          // " (Custom) " + family text [+ " - " + wiring]
    std::string inputUnit;      // header of the input column: "mV", "Ohm", "%", "mA"
    std::string physicalUnit;   // "Temp", "% Lin.", "mV Lin.", "mA Lin.", "Ohm Lin."
    bool coldJunctionPage = false;
    std::string coldJunctionTitle;  // text 165
    std::string cancelCaption;      // text 144
};

struct PointsEditorResult {
    bool accepted = false;
    // On acceptance: the first and last physical values as typed, for the input range.
    std::string rangeMin;
    std::string rangeMax;
};

struct TripsFormRequest {
    std::string cancelCaption;  // text 144
    std::string rangeMin;       // the input range as typed, and its unit
    std::string rangeMax;
    std::string unit;
};

// The windows and operations the programming form opens but does not own: the points
// editor, the trips form, the operation window. The desktop program and the flows
// implement it; tests script it.
class FormHost {
public:
    virtual ~FormHost() = default;
    // Modal points editor over the working tables; returns how it was closed.
    virtual PointsEditorResult OpenPointsEditor(const PointsEditorRequest& request) = 0;
    // Modal trips form over the working trip values.
    virtual void OpenTripsForm(const TripsFormRequest& request) = 0;
    // The operation window in measure mode, until the user stops it.
    virtual void RunMeasurement() = 0;
    // The operation window programming the transmitter with the encoded input.
    virtual void RunProgramming(const InputEncoding& encoding) = 0;
    // The stop button: ends a running measurement.
    virtual void StopMeasurement() = 0;
};

// The host of a session that runs without windows (the command-line tool, a production-line
// station, a scratch read): no points editor or trips form to show, and the caller runs the
// operations itself.
class NoWindowsHost final : public FormHost {
public:
    PointsEditorResult OpenPointsEditor(const PointsEditorRequest&) override { return {}; }
    void OpenTripsForm(const TripsFormRequest&) override {}
    void RunMeasurement() override {}
    void RunProgramming(const InputEncoding&) override {}
    void StopMeasurement() override {}
};

}  // namespace vantrel::ui
