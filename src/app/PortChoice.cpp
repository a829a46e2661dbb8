// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PortChoice.h"

namespace vantrel::app {

PortChoices BuildPortChoices(const link::PortTable& table, const std::string& simulatorPortName,
                             const std::string& simulatorText, bool windowsNames) {
    PortChoices choices;
    for (const link::PortEntry& entry : table.entries) {
        if (!entry.exists || entry.name.empty()) continue;
        std::string text = "COM " + std::to_string(entry.number);
        if (!windowsNames) text += "   " + entry.name;
        if (!entry.description.empty()) text += "   " + entry.description;
        choices.entries.push_back({text, entry.name});
    }
    if (!simulatorPortName.empty()) {
        choices.entries.push_back({simulatorText, simulatorPortName});
        choices.simulatorName = simulatorPortName;
    }
    return choices;
}

PortChoiceModel::PortChoiceModel(PortChoices choices, std::string currentPort)
    : m_choices(std::move(choices)), m_previous(currentPort), m_current(std::move(currentPort)) {}

int PortChoiceModel::currentIndex() const {
    for (std::size_t i = 0; i < m_choices.entries.size(); ++i)
        if (m_choices.entries[i].portName == m_current) return static_cast<int>(i);
    return -1;
}

void PortChoiceModel::Choose(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_choices.entries.size()) return;
    m_current = m_choices.entries[static_cast<std::size_t>(index)].portName;
}

std::optional<std::string> PortChoiceModel::Accept() const {
    if (m_current == m_previous) return std::nullopt;
    return m_current;
}

const std::string& PortChoiceModel::Cancel() {
    m_current = m_previous;
    return m_current;
}

}  // namespace vantrel::app
