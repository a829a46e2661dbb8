#include "ui/model/RangeControl.h"

#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::ui {

namespace {

// A limit that is not a number counts as 0, like a limit never written.
float ParseLimit(std::string_view text) { return resources::ParseSingle(text).value_or(0); }

RangeVerdict Refuse(RangeFocus focus, RangeMessageCode code) {
    return {false, focus, static_cast<int>(code)};
}

}  // namespace

void RangeControl::SetSpanMin(std::string text) {
    spanMinText_ = std::move(text);
    const std::string_view all = spanMinText_;
    const std::size_t first = all.find('/');
    const std::size_t second = first == std::string_view::npos ? first : all.find('/', first + 1);
    limitMin_ = ParseLimit(all.substr(0, first));
    limitMax_ = first == std::string_view::npos ? 0 : ParseLimit(all.substr(first + 1, second - first - 1));
    minimumSpan_ = second == std::string_view::npos ? 0 : ParseLimit(all.substr(second + 1));
}

void RangeControl::SetTextMax(double value) { TextMaxP = resources::PlainTextSingle(static_cast<float>(value)); }
void RangeControl::SetTextMin(double value) { TextMinP = resources::PlainTextSingle(static_cast<float>(value)); }

link::Message RangeControl::MessageFor(RangeMessageCode code) const {
    const bool italian = Language == 0;
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
            message.textId = 163;
            message.text = resources::Text(163, 300);
        }
        break;
    }
    return message;
}

RangeVerdict RangeControl::Leave(link::Dialogs& dialogs) {
    if (TextMaxP.empty()) TextMaxP = "0";
    if (TextMinP.empty()) TextMinP = "0";
    // The ends are Singles: a number beyond one would become infinity, so it is no number here.
    const auto maxValue = resources::ParseSingle(TextMaxP);
    if (!maxValue) {
        dialogs.Show(MessageFor(RangeMessageCode::InvalidFormat));
        return Refuse(RangeFocus::Max, RangeMessageCode::InvalidFormat);
    }
    const auto minValue = resources::ParseSingle(TextMinP);
    if (!minValue) {
        dialogs.Show(MessageFor(RangeMessageCode::InvalidFormat));
        return Refuse(RangeFocus::Min, RangeMessageCode::InvalidFormat);
    }
    const float high = *maxValue;
    const float low = *minValue;
    TextMaxP = resources::PlainTextSingle(high);
    TextMinP = resources::PlainTextSingle(low);

    RangeVerdict verdict;
    if (high < low) {
        dialogs.Show(MessageFor(RangeMessageCode::MaxBelowMin));
        return Refuse(RangeFocus::Max, RangeMessageCode::MaxBelowMin);
    }
    if (high > limitMax_) {
        verdict.lastMessage = static_cast<int>(RangeMessageCode::OutOfRange);
        if (dialogs.Show(MessageFor(RangeMessageCode::OutOfRange)) == link::Answer::Cancel)
            return Refuse(RangeFocus::Max, RangeMessageCode::OutOfRange);
    }
    if (low < limitMin_) {
        verdict.lastMessage = static_cast<int>(RangeMessageCode::OutOfRange);
        if (dialogs.Show(MessageFor(RangeMessageCode::OutOfRange)) == link::Answer::Cancel)
            return Refuse(RangeFocus::Min, RangeMessageCode::OutOfRange);
    }
    if (static_cast<float>(high - low) < minimumSpan_) {
        dialogs.Show(MessageFor(RangeMessageCode::SpanTooSmall));
        return Refuse(RangeFocus::Max, RangeMessageCode::SpanTooSmall);
    }
    verdict.accepted = true;
    return verdict;
}

}  // namespace vantrel::ui
