// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/model/PointsEditor.h"

#include "device/CustomTable.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::ui {

using resources::ParseSingle;
using resources::PlainTextSingle;
using resources::ToSingle;

namespace {


}  // namespace

PointsEditor::PointsEditor(device::WorkingState& working, bool coldJunctionPage, int optionFlags)
    : working_(working), coldJunctionPage_(coldJunctionPage), optionFlags_(optionFlags),
      maxPoints_(device::MaxSensorPoints(working.identity)) {}

void PointsEditor::Open() {
    bool empty = true;
    for (int i = 0; i < maxPoints_; ++i)
        if (working_.PtPhysical[static_cast<std::size_t>(i)] != 0 || working_.PtInput[static_cast<std::size_t>(i)] != 0)
            empty = false;
    if (empty) {
        userPoints_ = 2;
        cjcPoints_ = 2;
    } else {
        userPoints_ = working_.SensorPoints - (working_.PointExtra ? 1 : 0);
        if (userPoints_ < device::kMinPoints || userPoints_ > maxPoints_) userPoints_ = device::kMinPoints;
        cjcPoints_ = working_.CjcPoints;
        if (cjcPoints_ < device::kMinPoints || cjcPoints_ > device::kMaxCjcPoints) cjcPoints_ = device::kMinPoints;
        for (int i = 0; i < userPoints_; ++i) {
            sensor_[static_cast<std::size_t>(i)] = {PlainTextSingle(working_.PtInput[static_cast<std::size_t>(i)]),
                                                    PlainTextSingle(working_.PtPhysical[static_cast<std::size_t>(i)])};
        }
        for (int i = 0; i < cjcPoints_; ++i) {
            cjc_[static_cast<std::size_t>(i)] = {PlainTextSingle(working_.CjcInput[static_cast<std::size_t>(i)]),
                                                 PlainTextSingle(working_.CjcPhysical[static_cast<std::size_t>(i)])};
        }
    }
    sensorCountText_ = std::to_string(userPoints_);
    cjcCountText_ = std::to_string(cjcPoints_);
    ApplyOddRule(userPoints_);
}

bool PointsEditor::AcceptCountKey(char key) {
    working_.MarkEdited();
    return key == '-' || (key >= '0' && key <= '9') || key == 8 || key == 13;
}

std::optional<PointsRefusal> PointsEditor::CheckCount(std::string_view text, int most, PointsPage page, int& count) {
    const double value = text.empty() ? 0.0 : resources::ParseLeadingNumber(text);
    if (value < device::kMinPoints || value > most)
        return PointsRefusal{resources::text::kPointCount, resources::Str(most), page, PointsBox::Count, 0};
    count = static_cast<int>(value);
    return std::nullopt;
}

void PointsEditor::ApplyOddRule(int count) {
    userPoints_ = count;
    sensorPoints_ = count;
    pointExtra_ = count % 2 == 0;
    if (pointExtra_) {
        sensorPoints_ = count + 1;
        sensor_[static_cast<std::size_t>(count)] = {};
    }
}

std::optional<PointsRefusal> PointsEditor::EnterSensorCount(std::string_view text) {
    sensorCountText_ = text.empty() ? "0" : std::string(text);
    int count = 0;
    if (auto refusal = CheckCount(sensorCountText_, maxPoints_, PointsPage::Sensor, count)) return refusal;
    ApplyOddRule(count);
    return std::nullopt;
}

std::optional<PointsRefusal> PointsEditor::EnterCjcCount(std::string_view text) {
    if (!coldJunctionPage_) {
        cjcCountText_.assign(1, '2');  // not a literal assignment: GCC 12 warns falsely (-Wrestrict)
        cjcPoints_ = 2;
        return std::nullopt;
    }
    cjcCountText_ = text.empty() ? "0" : std::string(text);
    int count = 0;
    if (auto refusal = CheckCount(cjcCountText_, device::kMaxCjcPoints, PointsPage::ColdJunction, count)) return refusal;
    cjcPoints_ = count;
    return std::nullopt;
}

PointsRow& PointsEditor::Row(PointsPage page, int row) {
    return page == PointsPage::Sensor ? sensor_[static_cast<std::size_t>(row)] : cjc_[static_cast<std::size_t>(row)];
}

void PointsEditor::SetText(PointsPage page, int row, PointsBox box, std::string text) {
    PointsRow& r = Row(page, row);
    (box == PointsBox::Input ? r.input : r.physical) = std::move(text);
    working_.MarkEdited();
}

void PointsEditor::LeaveValueBox(PointsPage page, int row, PointsBox box) {
    PointsRow& r = Row(page, row);
    std::string& text = box == PointsBox::Input ? r.input : r.physical;
    if (const auto value = ParseSingle(text)) text = PlainTextSingle(*value);
}

std::optional<PointsRefusal> PointsEditor::ValidateSensor(std::array<float, device::kWorkingPoints>& physical,
                                                          std::array<float, device::kWorkingPoints>& input) const {
    // Row by row, so the first fault in row order is the one reported: a row that does not
    // rise above the one before is said before a later row that holds no number.
    for (int i = 0; i < userPoints_; ++i) {
        const auto k = static_cast<std::size_t>(i);
        // The tables hold Singles: a value beyond one is no number.
        const auto in = ParseSingle(sensor_[k].input);
        if (!in) return PointsRefusal{resources::text::kInvalidFormat, {}, PointsPage::Sensor, PointsBox::Input, i};
        input[k] = *in;
        // Only the input column must rise: the physical column may fall or repeat.
        if (i > 0 && !(input[k] - input[k - 1] > 0.0f))
            return PointsRefusal{resources::text::kNotRising, {}, PointsPage::Sensor, PointsBox::Input, i - 1};
        const auto ph = ParseSingle(sensor_[k].physical);
        if (!ph) return PointsRefusal{resources::text::kInvalidFormat, {}, PointsPage::Sensor, PointsBox::Physical, i};
        physical[k] = *ph;
    }
    return std::nullopt;
}

std::optional<PointsRefusal> PointsEditor::ValidateCjc(std::array<float, device::kWorkingPointsCjc>& physical,
                                                       std::array<float, device::kWorkingPointsCjc>& input) const {
    const bool fahrenheit = (optionFlags_ & 8) != 0;
    const double low = fahrenheit ? -4 : -20;
    const double high = fahrenheit ? 158 : 70;
    const int count = cjcPoints_;
    for (int i = 0; i < count; ++i) {
        const auto& row = cjc_[static_cast<std::size_t>(i)];
        const auto ph = ParseSingle(row.physical);
        if (!ph) return PointsRefusal{resources::text::kInvalidFormat, {}, PointsPage::ColdJunction, PointsBox::Physical, i};
        const auto in = ParseSingle(row.input);
        if (!in) return PointsRefusal{resources::text::kInvalidFormat, {}, PointsPage::ColdJunction, PointsBox::Input, i};
        physical[static_cast<std::size_t>(i)] = *ph;
        input[static_cast<std::size_t>(i)] = *in;
    }
    for (int i = 0; i + 1 < count; ++i) {
        for (int k : {i, i + 1}) {
            const float value = physical[static_cast<std::size_t>(k)];
            if (static_cast<double>(value) < low || static_cast<double>(value) > high)
                return PointsRefusal{resources::text::kPointOutOfRange, {}, PointsPage::ColdJunction, PointsBox::Physical, k};
        }
        if (!(physical[static_cast<std::size_t>(i + 1)] - physical[static_cast<std::size_t>(i)] > 0.0f))
            return PointsRefusal{resources::text::kNotRising, {}, PointsPage::ColdJunction, PointsBox::Physical, i};
    }
    for (int i = 0; i + 1 < count; ++i) {
        if (!(input[static_cast<std::size_t>(i + 1)] - input[static_cast<std::size_t>(i)] > 0.0f))
            return PointsRefusal{resources::text::kNotRising, {}, PointsPage::ColdJunction, PointsBox::Input, i};
    }
    return std::nullopt;
}

std::optional<PointsRefusal> PointsEditor::Ok() {
    int count = 0;
    if (auto refusal = CheckCount(sensorCountText_, maxPoints_, PointsPage::Sensor, count)) return refusal;
    if (count != userPoints_) ApplyOddRule(count);

    std::array<float, device::kWorkingPoints> physical{};
    std::array<float, device::kWorkingPoints> input{};
    if (auto refusal = ValidateSensor(physical, input)) return refusal;
    std::array<float, device::kWorkingPointsCjc> cjcPhysical{};
    std::array<float, device::kWorkingPointsCjc> cjcInput{};
    if (coldJunctionPage_) {
        if (auto refusal = ValidateCjc(cjcPhysical, cjcInput)) return refusal;
    }

    // Entries from MaxPoints up keep what they held.
    for (int i = 0; i < maxPoints_; ++i) {
        working_.PtPhysical[static_cast<std::size_t>(i)] = physical[static_cast<std::size_t>(i)];
        working_.PtInput[static_cast<std::size_t>(i)] = input[static_cast<std::size_t>(i)];
    }
    if (coldJunctionPage_) {
        for (int i = 0; i < device::kMaxCjcPoints; ++i) {
            working_.CjcPhysical[static_cast<std::size_t>(i)] = cjcPhysical[static_cast<std::size_t>(i)];
            working_.CjcInput[static_cast<std::size_t>(i)] = cjcInput[static_cast<std::size_t>(i)];
        }
    }
    working_.SensorPoints = sensorPoints_;
    working_.PointExtra = pointExtra_;
    working_.CjcPoints = cjcPoints_;
    if (pointExtra_) {
        const int k = sensorPoints_ - 1;
        device::StoreAddedPoint(working_.PtPhysical, working_.PtInput, k);
        sensor_[static_cast<std::size_t>(k)] = {PlainTextSingle(working_.PtInput[static_cast<std::size_t>(k)]),
                                                PlainTextSingle(working_.PtPhysical[static_cast<std::size_t>(k)])};
    }
    working_.SegmentCount = sensorPoints_ - 1;
    working_.CjcSegmentCount = cjcPoints_ - 1;
    return std::nullopt;
}

}  // namespace vantrel::ui
