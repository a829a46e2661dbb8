// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "device/Families.h"
#include "device/WorkingState.h"

// The points editor's model: custom linearisation by a table of (input, physical) points,
// with an optional cold-junction table for thermocouples with internal compensation. The
// window binds its boxes to the texts held here and shows the refusals it returns.
namespace vantrel::ui {

enum class PointsPage { Sensor, ColdJunction };
enum class PointsBox { Count, Input, Physical };

// A refusal: the text to show (Italian id; add the language offset) followed by `appended`,
// and the box to select and focus.
struct PointsRefusal {
    int textId = 0;           // 169 invalid format, 170 count, 171 not rising, 152 out of range
    std::string appended;     // " 27" after text 170
    PointsPage page = PointsPage::Sensor;
    PointsBox box = PointsBox::Count;
    int row = 0;
};

struct PointsRow {
    std::string input;
    std::string physical;
};

class PointsEditor {
public:
    // `coldJunctionPage`: the editor shows the second page (thermocouple with internal
    // compensation). `optionFlags`: bit 3 says the cold-junction temperatures are in °F.
    PointsEditor(device::WorkingState& working, bool coldJunctionPage, int optionFlags);

    // Loads the rows and counts from the working tables (or starts at 2 and 2 when they
    // are empty) and applies the odd rule.
    void Open();

    int MaxPoints() const { return maxPoints_; }
    bool HasColdJunctionPage() const { return coldJunctionPage_; }

    // Keys that a count box lets through: '-', digits, Backspace (8) and Enter (13). Every
    // key marks the configuration changed.
    bool AcceptCountKey(char key);

    // The count box lost the focus or Enter was pressed.
    std::optional<PointsRefusal> EnterSensorCount(std::string_view text);
    std::optional<PointsRefusal> EnterCjcCount(std::string_view text);

    const std::string& SensorCountText() const { return sensorCountText_; }
    const std::string& CjcCountText() const { return cjcCountText_; }
    int UserPoints() const { return userPoints_; }       // as entered
    int SensorPoints() const { return sensorPoints_; }   // odd: with the added point
    bool PointExtra() const { return pointExtra_; }
    int CjcPoints() const { return cjcPoints_; }

    // Rows: the sensor page has MaxPoints() rows, the cold-junction page 6.
    const PointsRow& SensorRow(int row) const { return sensor_[static_cast<std::size_t>(row)]; }
    const PointsRow& CjcRow(int row) const { return cjc_[static_cast<std::size_t>(row)]; }
    // Typing in a value box (marks the configuration changed).
    void SetText(PointsPage page, int row, PointsBox box, std::string text);
    // Leaving a value box: a numeric text is rewritten as the single-precision number.
    void LeaveValueBox(PointsPage page, int row, PointsBox box);
    // Rows 0 .. SensorPoints() - 1 are shown; the added point's boxes are hidden.
    bool SensorRowShown(int row) const { return row < sensorPoints_; }
    bool SensorRowIsAddedPoint(int row) const { return pointExtra_ && row == sensorPoints_ - 1; }

    // Validates both pages, then stores them into the working state with the added point
    // and the segment counts. Nothing is stored when a refusal is returned.
    std::optional<PointsRefusal> Ok();
    // After a successful Ok: the input range the programming form takes, as typed.
    const std::string& RangeMinText() const { return sensor_[0].physical; }
    const std::string& RangeMaxText() const { return sensor_[static_cast<std::size_t>(userPoints_ - 1)].physical; }

    // Closing without storing. The working tables are untouched by the editor until Ok;
    // the caller clears the form's custom box, which turns custom linearisation off.
    void Cancel() {}

private:
    std::optional<PointsRefusal> CheckCount(std::string_view text, int most, PointsPage page, int& count);
    std::optional<PointsRefusal> ValidateSensor(std::array<float, device::kWorkingPoints>& physical,
                                                std::array<float, device::kWorkingPoints>& input) const;
    std::optional<PointsRefusal> ValidateCjc(std::array<float, device::kWorkingPointsCjc>& physical,
                                             std::array<float, device::kWorkingPointsCjc>& input) const;
    void ApplyOddRule(int count);
    PointsRow& Row(PointsPage page, int row);

    device::WorkingState& working_;
    bool coldJunctionPage_;
    int optionFlags_;
    int maxPoints_;
    std::array<PointsRow, device::kWorkingPoints> sensor_{};
    std::array<PointsRow, device::kWorkingPointsCjc> cjc_{};
    std::string sensorCountText_ = "2";
    std::string cjcCountText_ = "2";
    int userPoints_ = 2;
    int sensorPoints_ = 3;
    bool pointExtra_ = true;
    int cjcPoints_ = 2;
};

}  // namespace vantrel::ui
