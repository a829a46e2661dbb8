// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/PortTable.h"

// The port-selection window `doors` without its widgets: the list of ports that exist, the
// port shown as chosen, and what OK and Cancel decide.
namespace vantrel::app {

struct PortListEntry {
    std::string text;      // "COM 3" (on Unix followed by the device path), then the description
    std::string portName;  // what the transport opens
};

struct PortChoices {
    std::vector<PortListEntry> entries;
    std::string simulatorName;  // offered as a port too when not empty
};

// The list: every port of the table that exists, then the simulator when there is one.
PortChoices BuildPortChoices(const link::PortTable& table, const std::string& simulatorPortName,
                             const std::string& simulatorText, bool windowsNames = link::kWindowsPortNames);

class PortChoiceModel {
public:
    PortChoiceModel(PortChoices choices, std::string currentPort);

    const std::vector<PortListEntry>& entries() const { return m_choices.entries; }
    // The list entry of the current port; -1 when the current port is not in the list.
    int currentIndex() const;
    const std::string& currentPort() const { return m_current; }

    // Choosing an entry makes its port current.
    void Choose(int index);
    // A new list (ports plugged in or out); the current port stays what it was.
    void SetChoices(PortChoices choices) { m_choices = std::move(choices); }
    // OK: the port to reload with, or nothing when the port did not change (OK then acts as
    // Cancel).
    std::optional<std::string> Accept() const;
    // Cancel: the previous port again.
    const std::string& Cancel();

private:
    PortChoices m_choices;
    std::string m_previous;
    std::string m_current;
};

}  // namespace vantrel::app
