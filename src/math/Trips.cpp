#include "math/Trips.h"

#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::math {

using resources::ParseLeadingNumber;
using resources::ParseNumber;

namespace {

constexpr int kTextInvalidFormat = 169;
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
        const double high = working_.TripLevels[2 * i];
        const double low = working_.TripLevels[2 * i + 1];
        hysteresis_[i] = TripNumberText(span != 0 ? (high - low) / span * 100 : 0.0);
        isMaximum_[i] = (working_.TripFlags & kMinimumBit[i]) == 0;
        threshold_[i] = TripNumberText(isMaximum_[i] ? high : low);
        acceptedThreshold_[i] = threshold_[i];
        acceptedHysteresis_[i] = hysteresis_[i];
    }
    delay_ = resources::PlainText(working_.TripDelayTicks * kTripDelayStep);
}

std::optional<TripsMessage> TripsForm::Recompute(int n) {
    const std::size_t i = Index(n);
    const auto threshold = ParseNumber(threshold_[i]);
    const auto percent = ParseNumber(hysteresis_[i]);
    if (!threshold || !percent) {
        const auto box = threshold ? TripsMessage::Box::Hysteresis : TripsMessage::Box::Threshold;
        threshold_[i] = acceptedThreshold_[i];
        hysteresis_[i] = acceptedHysteresis_[i];
        return TripsMessage{kTextInvalidFormat, {}, box, n};
    }
    threshold_[i] = TripNumberText(*threshold);
    hysteresis_[i] = TripNumberText(*percent);
    acceptedThreshold_[i] = threshold_[i];
    acceptedHysteresis_[i] = hysteresis_[i];

    // The levels come from the boxes as now shown, one decimal.
    const double min = ParseLeadingNumber(rangeMin_);
    const double max = ParseLeadingNumber(rangeMax_);
    const double h = (max - min) / 100 * ParseLeadingNumber(hysteresis_[i]);
    const double level = static_cast<double>(resources::ToSingle(ParseLeadingNumber(threshold_[i])));
    const double high = isMaximum_[i] ? level : level + h;
    const double low = isMaximum_[i] ? level - h : level;
    working_.TripLevels[2 * i] = resources::ToSingle(high);
    working_.TripLevels[2 * i + 1] = resources::ToSingle(low);
    return std::nullopt;
}

std::optional<TripsMessage> TripsForm::Ok() {
    const auto seconds = ParseNumber(delay_);
    if (!seconds) return TripsMessage{kTextInvalidFormat, {}, TripsMessage::Box::Delay, 0};
    const auto ticks = resources::RoundHalfEven(*seconds / kTripDelayStep);
    if (ticks < 0 || ticks > kMaxTripDelayTicks)
        return TripsMessage{0, TripDelayTooLongText(working_.LanguageOffset), TripsMessage::Box::Delay, 0};
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

}  // namespace vantrel::math
