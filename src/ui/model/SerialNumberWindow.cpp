// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/model/SerialNumberWindow.h"

#include <array>

#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::ui {

namespace {

struct FieldRule {
    int least;
    int most;
    int messageId;
};

// Accepted values per field, in SerialField order; the year field shows code + 5.
constexpr std::array<FieldRule, 4> kRules = {{
    {0, 255, resources::text::kSerialCustomerLimits},
    {5, 20, resources::text::kSerialYearLimits},
    {0, 127, resources::text::kSerialOrderLimits},
    {0, 8000, resources::text::kSerialProgressiveLimits},
}};

std::string Decimal(int value) { return resources::PlainText(value); }

}  // namespace

std::string& SerialNumberWindow::FieldText(SerialField field) {
    switch (field) {
    case SerialField::Customer: return customerText;
    case SerialField::Year: return yearText;
    case SerialField::Order: return orderText;
    case SerialField::Progressive: return progressiveText;
    }
    return customerText;
}

void SerialNumberWindow::ShowStored() {
    customerText = Decimal(stored_.customer);
    yearText = resources::Format(stored_.yearCode + device::kYearShownOffset, "00");
    orderText = Decimal(stored_.order);
    progressiveText = Decimal(stored_.progressive);
}

void SerialNumberWindow::ReadFinished(bool success) {
    if (success) {
        ShowStored();
        return;
    }
    customerText = yearText = orderText = progressiveText = "0";
}

std::optional<link::Message> SerialNumberWindow::LeaveField(SerialField field) {
    const FieldRule& rule = kRules[static_cast<std::size_t>(field)];
    const double value = resources::ParseLeadingNumber(FieldText(field));
    if (value >= rule.least && value <= rule.most) return std::nullopt;
    const std::string keepOthers[] = {customerText, yearText, orderText, progressiveText};
    ShowStored();
    for (SerialField other : {SerialField::Customer, SerialField::Year, SerialField::Order, SerialField::Progressive})
        if (other != field) FieldText(other) = keepOthers[static_cast<std::size_t>(other)];
    link::Message message;
    // The refusals are the same Italian text in both languages.
    message.text = resources::LoadResString(rule.messageId);
    message.buttons = link::Buttons::Ok;
    return message;
}

void SerialNumberWindow::LeaveField(SerialField field, link::Dialogs& dialogs) {
    if (const auto message = LeaveField(field)) dialogs.Show(*message);
}

}  // namespace vantrel::ui
