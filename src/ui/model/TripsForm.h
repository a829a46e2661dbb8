// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "device/WorkingState.h"

// The trips form's model (transmitter model 10): two trips, each a maximum or a minimum
// trip with a threshold and a hysteresis in percent of the input span, and a common delay.
// It turns them into two switching levels per trip, a delay count and the mode bits of the
// working state.
namespace vantrel::ui {

inline constexpr double kTripDelayStep = 0.05;  // seconds per delay count
inline constexpr int kMaxTripDelayTicks = 255;  // the delay cell holds one byte

// A refusal: a text id (Italian; add the language offset) or, where the string table has
// no text, a literal in the form's language; and the box to focus.
struct TripsMessage {
    int textId = 0;           // 169 invalid format; 0 when `literal` is used
    std::string literal;
    enum class Box { Threshold, Hysteresis, Delay } box = Box::Threshold;
    int trip = 1;             // 1 or 2 (Threshold and Hysteresis)
};

// Text of the delay refusal in the language of the offset.
std::string TripDelayTooLongText(int languageOffset);

class TripsForm {
public:
    explicit TripsForm(device::WorkingState& working);

    // Loads the form from the working state and keeps a copy for Cancel. The range is the
    // input range control's as typed, with its unit.
    void Open(std::string rangeMinText, std::string rangeMaxText, std::string unit);

    // Box texts and options bound to the window; n is 1 or 2.
    std::string& Threshold(int n) { return threshold_[Index(n)]; }
    std::string& Hysteresis(int n) { return hysteresis_[Index(n)]; }
    bool IsMaximum(int n) const { return isMaximum_[Index(n)]; }
    void SetMaximum(int n, bool maximum) { isMaximum_[Index(n)] = maximum; }
    std::string& Delay() { return delay_; }
    const std::string& RangeMinText() const { return rangeMin_; }
    const std::string& RangeMaxText() const { return rangeMax_; }
    const std::string& Unit() const { return unit_; }

    // Threshold or hysteresis box of trip n left, or one of its options clicked: reformats
    // the boxes and recomputes trip n's two levels. A text that is not a number is refused
    // with text 169; the boxes then return to their previous texts and the levels stay.
    std::optional<TripsMessage> Recompute(int n);

    // Stores the delay and the mode bits. A delay that is not a number is refused with text
    // 169, one that is negative or longer than 12.75 s with TripDelayTooLongText; nothing
    // is stored then and the form stays open.
    std::optional<TripsMessage> Ok();
    // Restores the six working values saved by Open.
    void Cancel();

private:
    static std::size_t Index(int n) { return n == 2 ? 1 : 0; }

    device::WorkingState& working_;
    std::array<float, 4> savedLevels_{};
    float savedDelay_ = 0;
    std::uint8_t savedFlags_ = 0;
    std::string rangeMin_;
    std::string rangeMax_;
    std::string unit_;
    std::array<std::string, 2> threshold_;
    std::array<std::string, 2> hysteresis_;
    std::array<std::string, 2> acceptedThreshold_;
    std::array<std::string, 2> acceptedHysteresis_;
    std::array<bool, 2> isMaximum_{true, true};
    std::string delay_;
};

// "#.0": one decimal, no digit before the separator when the whole part is 0.
std::string TripNumberText(double value);

}  // namespace vantrel::ui
