#pragma once

#include <string>
#include <string_view>

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

// The range entry control (CtlRange): a minimum and a maximum with hidden limits, checked
// when the focus leaves the control. Properties carry the names the host sets them by.
class RangeControl {
public:
    // Enabled, Language, UnitM, TextMinP, TextMaxP, LTMinp, LTMaxp, SpanMin, Titolo.
    bool Enabled = true;
    int Language = 0;  // 0 Italian messages, anything else English
    std::string UnitM;
    std::string TextMinP;
    std::string TextMaxP;
    TextRef LTMinp;
    TextRef LTMaxp;
    TextRef Titolo;

    // Writing SpanMin stores the text and parses "limit min/limit max/minimum span".
    void SetSpanMin(std::string text);
    const std::string& SpanMin() const { return spanMinText_; }
    void SetTextMax(double value);  // a number in the standard number-to-text form
    void SetTextMin(double value);

    float LimitMin() const { return limitMin_; }
    float LimitMax() const { return limitMax_; }
    float MinimumSpan() const { return minimumSpan_; }

    // The check run when the focus leaves the control; messages go through the dialogs.
    RangeVerdict Leave(link::Dialogs& dialogs);

    // The message box for a code in this control's language (empty title, exclamation).
    link::Message MessageFor(RangeMessageCode code) const;

private:
    std::string spanMinText_;
    float limitMin_ = 0;
    float limitMax_ = 0;
    float minimumSpan_ = 0;
};

}  // namespace vantrel::ui
