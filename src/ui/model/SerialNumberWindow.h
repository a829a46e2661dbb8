// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "device/SerialNumber.h"
#include "link/Dialogs.h"

namespace vantrel::ui {

enum class SerialField { Customer, Year, Order, Progressive };

// The serial-number window: four fields showing the stored record, read-only while the
// editing mode is off (the whole run), each checked when it loses the focus.
class SerialNumberWindow {
public:
    explicit SerialNumberWindow(device::SerialNumber& stored) : stored_(stored) {}

    std::string customerText;
    std::string yearText;
    std::string orderText;
    std::string progressiveText;
    bool editing = false;        // fields locked and the write button hidden while false
    bool writeButtonVisible = false;

    void Open() { ShowStored(); }
    void Close() { ShowStored(); }
    // The read button: the new record on success, zeros when the read failed.
    void ReadFinished(bool success);
    // The field's check when it loses the focus: the message to show on a value out of
    // its range (the field then shows the stored value again).
    std::optional<link::Message> LeaveField(SerialField field);
    // The same, with the message shown through the dialogs.
    void LeaveField(SerialField field, link::Dialogs& dialogs);

    std::string& FieldText(SerialField field);

private:
    void ShowStored();
    device::SerialNumber& stored_;
};

}  // namespace vantrel::ui
