// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/model/TripsForm.h"

#include <cmath>

#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::ui {

using resources::ParseLeadingNumber;
using resources::ParseNumber;

namespace {

// Trip n's mode bit: bit 1 for trip 1, bit 0 for trip 2 (set for a minimum trip).
constexpr std::uint8_t kMinimumBit[2] = {2, 1};

}  // namespace

std::string TripNumberText(double value) { return resources::Format(value, "#.0"); }

std::string TripDelayTooLongText(int languageOffset) {
    return resources::Text(resources::text::kTripDelayTooLong, languageOffset);
}

TripsForm::TripsForm(device::WorkingState& working) : working_(working) {}

void TripsForm::Open(std::string rangeMinText, std::string rangeMaxText, std::string unit) {
    savedLevels_ = working_.TripLevels;
    savedDelay_ = working_.TripDelayTicks;
    savedFlags_ = working_.TripFlags;
    rangeMin_ = std::move(rangeMinText);
    rangeMax_ = std::move(rangeMaxText);
    unit_ = std::move(unit);
    const double span = ParseLeadingNumber(rangeMax_) - ParseLeadingNumber(rangeMin_);
    for (std::size_t i = 0; i < 2; ++i) {
        const double high = static_cast<double>(working_.TripLevels[2 * i]);
        const double low = static_cast<double>(working_.TripLevels[2 * i + 1]);
        hysteresis_[i] = TripNumberText(span != 0 ? (high - low) / span * 100 : 0.0);
        isMaximum_[i] = (working_.TripFlags & kMinimumBit[i]) == 0;
        threshold_[i] = TripNumberText(isMaximum_[i] ? high : low);
        acceptedThreshold_[i] = threshold_[i];
        acceptedHysteresis_[i] = hysteresis_[i];
    }
    delay_ = resources::PlainText(static_cast<double>(working_.TripDelayTicks) * kTripDelayStep);
}

std::optional<TripsMessage> TripsForm::Recompute(int n) {
    const std::size_t i = Index(n);
    const auto refuse = [&](TripsMessage::Box box) {
        threshold_[i] = acceptedThreshold_[i];
        hysteresis_[i] = acceptedHysteresis_[i];
        return TripsMessage{resources::text::kInvalidFormat, {}, box, n};
    };
    // The levels are stored as Singles: a threshold beyond one is no number.
    const auto threshold = resources::ParseSingle(threshold_[i]);
    if (!threshold) return refuse(TripsMessage::Box::Threshold);
    const auto percent = ParseNumber(hysteresis_[i]);
    if (!percent) return refuse(TripsMessage::Box::Hysteresis);

    // The levels come from the boxes as they will show, one decimal.
    const std::string thresholdText = TripNumberText(static_cast<double>(*threshold));
    const std::string hysteresisText = TripNumberText(*percent);
    const double min = ParseLeadingNumber(rangeMin_);
    const double max = ParseLeadingNumber(rangeMax_);
    const double h = (max - min) / 100 * ParseLeadingNumber(hysteresisText);
    const double level = static_cast<double>(resources::ToSingle(ParseLeadingNumber(thresholdText)));
    const float high = resources::ToSingle(isMaximum_[i] ? level : level + h);
    const float low = resources::ToSingle(isMaximum_[i] ? level - h : level);
    // A hysteresis that carries a level beyond a Single is refused on its box.
    if (!std::isfinite(high) || !std::isfinite(low)) return refuse(TripsMessage::Box::Hysteresis);
    threshold_[i] = acceptedThreshold_[i] = thresholdText;
    hysteresis_[i] = acceptedHysteresis_[i] = hysteresisText;
    working_.TripLevels[2 * i] = high;
    working_.TripLevels[2 * i + 1] = low;
    return std::nullopt;
}

std::optional<TripsMessage> TripsForm::Ok() {
    const auto seconds = ParseNumber(delay_);
    if (!seconds) return TripsMessage{resources::text::kInvalidFormat, {}, TripsMessage::Box::Delay, 0};
    // Compared before rounding, so that no delay is too large to round.
    const double steps = *seconds / kTripDelayStep;
    if (!(steps >= -0.5 && steps <= kMaxTripDelayTicks + 0.5))
        return TripsMessage{0, TripDelayTooLongText(working_.LanguageOffset()), TripsMessage::Box::Delay, 0};
    const auto ticks = resources::RoundHalfEven(steps);
    if (ticks < 0 || ticks > kMaxTripDelayTicks)
        return TripsMessage{0, TripDelayTooLongText(working_.LanguageOffset()), TripsMessage::Box::Delay, 0};
    working_.TripDelayTicks = static_cast<float>(ticks);
    std::uint8_t flags = working_.TripFlags & static_cast<std::uint8_t>(~3u);
    for (std::size_t i = 0; i < 2; ++i)
        if (!isMaximum_[i]) flags |= kMinimumBit[i];
    working_.TripFlags = flags;
    return std::nullopt;
}

void TripsForm::Cancel() {
    working_.TripLevels = savedLevels_;
    working_.TripDelayTicks = savedDelay_;
    working_.TripFlags = savedFlags_;
}

}  // namespace vantrel::ui
