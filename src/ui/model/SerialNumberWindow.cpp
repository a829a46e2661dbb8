// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/model/SerialNumberWindow.h"

#include <array>

#include "resources/NumberFormat.h"

namespace vantrel::ui {

namespace {

struct FieldRule {
    int least;
    int most;
    const char* message;  // Italian in both languages
};

// Accepted values per field, in SerialField order; the year field shows code + 5.
constexpr std::array<FieldRule, 4> kRules = {{
    {0, 255, "ID Cliente deve essere compreso tra 0 e 255"},
    {5, 20, "L'anno deve essere compreso tra 05 (2005) e 20 (2020)"},
    {0, 127, "Il Numero d'Ordine deve essere compreso tra 0 e 127"},
    {0, 8000, "Il Numero Progressivo deve essere compreso tra 0 e 8000"},
}};

std::string Decimal(int value) { return resources::PlainText(value); }

}  // namespace

std::string& SerialNumberWindow::FieldText(SerialField field) {
    switch (field) {
    case SerialField::Customer: return id_Cliente;
    case SerialField::Year: return anno;
    case SerialField::Order: return ordine;
    case SerialField::Progressive: return progressivo;
    }
    return id_Cliente;
}

void SerialNumberWindow::ShowStored() {
    id_Cliente = Decimal(stored_.customer);
    anno = resources::Format(stored_.yearCode + device::kYearShownOffset, "00");
    ordine = Decimal(stored_.order);
    progressivo = Decimal(stored_.progressive);
}

void SerialNumberWindow::ReadFinished(bool success) {
    if (success) {
        ShowStored();
        return;
    }
    id_Cliente = anno = ordine = progressivo = "0";
}

std::optional<link::Message> SerialNumberWindow::LeaveField(SerialField field) {
    const FieldRule& rule = kRules[static_cast<std::size_t>(field)];
    const double value = resources::ParseLeadingNumber(FieldText(field));
    if (value >= rule.least && value <= rule.most) return std::nullopt;
    const std::string keepOthers[] = {id_Cliente, anno, ordine, progressivo};
    ShowStored();
    for (SerialField other : {SerialField::Customer, SerialField::Year, SerialField::Order, SerialField::Progressive})
        if (other != field) FieldText(other) = keepOthers[static_cast<std::size_t>(other)];
    link::Message message;
    message.text = rule.message;
    message.buttons = link::Buttons::Ok;
    return message;
}

void SerialNumberWindow::LeaveField(SerialField field, link::Dialogs& dialogs) {
    if (const auto message = LeaveField(field)) dialogs.Show(*message);
}

}  // namespace vantrel::ui
