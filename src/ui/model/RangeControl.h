// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "device/Families.h"
#include "link/Dialogs.h"
#include "ui/model/TextRef.h"

namespace vantrel::ui {

// Which box gets the focus (with its whole text selected) after a refusal.
enum class RangeFocus { None, Max, Min };

// Messages of the range control: 1 bad number, 2 maximum below minimum, 3 out of the limits
// (OK goes on, Cancel refuses), 5 span below the smallest allowed.
enum class RangeMessageCode { InvalidFormat = 1, MaxBelowMin = 2, OutOfRange = 3, SpanTooSmall = 5 };

struct RangeVerdict {
    bool accepted = false;
    RangeFocus focus = RangeFocus::None;
    int lastMessage = 0;  // code of the last message shown, 0 when none
};

// The range entry control: a minimum and a maximum typed by the user, with hidden limits
// (lowest minimum, highest maximum, smallest span) checked when the focus leaves the control.
// Its host sets the captions, unit and limits; the user types the two texts.
class RangeControl {
public:
    bool enabled() const { return enabled_; }
    int languageOffset() const { return languageOffset_; }
    const std::string& unit() const { return unit_; }
    const std::string& minText() const { return minText_; }
    const std::string& maxText() const { return maxText_; }
    const TextRef& minCaption() const { return minCaption_; }
    const TextRef& maxCaption() const { return maxCaption_; }
    const TextRef& title() const { return title_; }
    float LimitMin() const { return limits_.min; }
    float LimitMax() const { return limits_.max; }
    float MinimumSpan() const { return limits_.minSpan; }
    // The limits as "minimum/maximum/smallest span" ("-200/1370/100").
    std::string LimitsText() const;

    // Set by the host.
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    void SetLanguage(int languageOffset) { languageOffset_ = languageOffset; }
    void SetUnit(std::string unit) { unit_ = std::move(unit); }
    void SetCaptions(TextRef max, TextRef min) {
        maxCaption_ = std::move(max);
        minCaption_ = std::move(min);
    }
    void SetTitle(TextRef title) { title_ = std::move(title); }
    void SetLimits(float min, float max, float minSpan) { limits_ = {min, max, minSpan, 0, 0}; }
    // A number in the standard number-to-text form; texts as they stand. Neither validates.
    void SetTextMax(double value);
    void SetTextMin(double value);
    void SetTexts(std::string min, std::string max) {
        minText_ = std::move(min);
        maxText_ = std::move(max);
    }

    // The user types in a box.
    void TypeMax(std::string text) { maxText_ = std::move(text); }
    void TypeMin(std::string text) { minText_ = std::move(text); }

    // The check run when the focus leaves the control; messages go through the dialogs.
    RangeVerdict Leave(link::Dialogs& dialogs);

    // The message box for a code in this control's language (empty title, exclamation).
    link::Message MessageFor(RangeMessageCode code) const;

private:
    bool enabled_ = true;
    int languageOffset_ = 0;  // 0 Italian messages, anything else English
    std::string unit_;
    std::string minText_;
    std::string maxText_;
    TextRef minCaption_;
    TextRef maxCaption_;
    TextRef title_;
    device::RangeLimits limits_;
};

}  // namespace vantrel::ui
