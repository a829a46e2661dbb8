// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/model/RangeControl.h"

#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::ui {

namespace {

RangeVerdict Refuse(RangeFocus focus, RangeMessageCode code) {
    return {false, focus, static_cast<int>(code)};
}

}  // namespace

std::string RangeControl::LimitsText() const {
    return resources::PlainTextSingle(limits_.min) + "/" + resources::PlainTextSingle(limits_.max) + "/" +
           resources::PlainTextSingle(limits_.minSpan);
}

void RangeControl::SetTextMax(double value) { maxText_ = resources::PlainTextSingle(static_cast<float>(value)); }
void RangeControl::SetTextMin(double value) { minText_ = resources::PlainTextSingle(static_cast<float>(value)); }

link::Message RangeControl::MessageFor(RangeMessageCode code) const {
    const bool italian = languageOffset_ == 0;
    link::Message message;
    message.icon = link::Icon::Exclamation;
    message.buttons = link::Buttons::Ok;
    switch (code) {
    case RangeMessageCode::InvalidFormat:
        message.text = italian ? "Formato non valido" : "Invalid Format";
        break;
    case RangeMessageCode::MaxBelowMin:
        message.text = italian ? "Il valore massimo deve essere superiore al valore minimo"
                               : "The Max value is less then Min value";
        break;
    case RangeMessageCode::OutOfRange:
        message.text = italian ? "Valore fuori Range" : "Value out of Range";
        message.buttons = link::Buttons::OkCancel;
        break;
    case RangeMessageCode::SpanTooSmall:
        if (italian) {
            message.text = "Valore fuori Range";
        } else {
            message.textId = resources::text::kNoisySpan;
            message.text = resources::Text(resources::text::kNoisySpan, 300);
        }
        break;
    }
    return message;
}

RangeVerdict RangeControl::Leave(link::Dialogs& dialogs) {
    if (maxText_.empty()) maxText_ = "0";
    if (minText_.empty()) minText_ = "0";
    // The ends are Singles: a number beyond one would become infinity, so it is no number here.
    const auto maxValue = resources::ParseSingle(maxText_);
    if (!maxValue) {
        dialogs.Show(MessageFor(RangeMessageCode::InvalidFormat));
        return Refuse(RangeFocus::Max, RangeMessageCode::InvalidFormat);
    }
    const auto minValue = resources::ParseSingle(minText_);
    if (!minValue) {
        dialogs.Show(MessageFor(RangeMessageCode::InvalidFormat));
        return Refuse(RangeFocus::Min, RangeMessageCode::InvalidFormat);
    }
    const float high = *maxValue;
    const float low = *minValue;
    maxText_ = resources::PlainTextSingle(high);
    minText_ = resources::PlainTextSingle(low);

    RangeVerdict verdict;
    if (high < low) {
        dialogs.Show(MessageFor(RangeMessageCode::MaxBelowMin));
        return Refuse(RangeFocus::Max, RangeMessageCode::MaxBelowMin);
    }
    if (high > limits_.max) {
        verdict.lastMessage = static_cast<int>(RangeMessageCode::OutOfRange);
        if (dialogs.Show(MessageFor(RangeMessageCode::OutOfRange)) == link::Answer::Cancel)
            return Refuse(RangeFocus::Max, RangeMessageCode::OutOfRange);
    }
    if (low < limits_.min) {
        verdict.lastMessage = static_cast<int>(RangeMessageCode::OutOfRange);
        if (dialogs.Show(MessageFor(RangeMessageCode::OutOfRange)) == link::Answer::Cancel)
            return Refuse(RangeFocus::Min, RangeMessageCode::OutOfRange);
    }
    if (static_cast<float>(high - low) < limits_.minSpan) {
        dialogs.Show(MessageFor(RangeMessageCode::SpanTooSmall));
        return Refuse(RangeFocus::Max, RangeMessageCode::SpanTooSmall);
    }
    verdict.accepted = true;
    return verdict;
}

}  // namespace vantrel::ui
