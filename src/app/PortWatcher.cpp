// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PortWatcher.h"

#include <QTimer>

#include <algorithm>
#include <system_error>

#include "link/QtSerialTransport.h"

namespace vantrel::app {

std::map<std::string, std::string> StableNames(const std::filesystem::path& folder) {
    std::map<std::string, std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::filesystem::path device = std::filesystem::weakly_canonical(entry.path(), ec);
        if (!ec) names.emplace(device.string(), entry.path().string());
    }
    return names;
}

std::vector<ListedPort> SystemPorts() {
    const std::map<std::string, std::string> stable = StableNames();
    std::vector<ListedPort> ports;
    for (link::SystemPortInfo& info : link::ListSystemPortInfos()) {
        ListedPort port;
        port.info = std::move(info);
        if (const auto it = stable.find(port.info.name); it != stable.end()) port.byIdPath = it->second;
        ports.push_back(std::move(port));
    }
    return ports;
}

namespace {

const ListedPort* Find(const std::vector<ListedPort>& ports, const std::string& path) {
    for (const ListedPort& port : ports)
        if (port.info.name == path || (!port.byIdPath.empty() && port.byIdPath == path)) return &port;
    return nullptr;
}

std::string Describe(const ListedPort& port) {
    std::string text = link::PortDescription(port.info);
    if (!port.byIdPath.empty()) {
        const std::string id = std::filesystem::path(port.byIdPath).filename().string();
        text += text.empty() ? id : "   " + id;
    }
    return text;
}

}  // namespace

link::PortTable ListedPortTable(const std::vector<ListedPort>& ports, const std::string& rememberedPath,
                                int savedPort) {
    std::vector<std::string> names;
    names.reserve(ports.size());
    for (const ListedPort& port : ports) names.push_back(port.info.name);
    names = link::SortPortNames(std::move(names));

    link::PortTable table;
    for (int number = 1; number <= link::kProbedPorts; ++number) {
        link::PortEntry entry;
        entry.number = number;
        if (static_cast<std::size_t>(number) <= names.size()) {
            entry.name = names[static_cast<std::size_t>(number) - 1];
            if (const ListedPort* port = Find(ports, entry.name)) entry.description = Describe(*port);
            table.anyOpened = true;
        } else {
            entry.exists = false;
        }
        table.entries.push_back(entry);
    }

    const auto choose = [&table](int number) {
        table.currentPort = number;
        for (link::PortEntry& entry : table.entries) entry.selected = entry.number == number;
    };
    const ListedPort* remembered = rememberedPath.empty() ? nullptr : Find(ports, rememberedPath);
    const auto listed = [&table](int number) {
        const link::PortEntry* entry = table.find(number);
        return entry && entry->exists;
    };
    if (remembered) {
        for (const link::PortEntry& entry : table.entries)
            if (entry.name == remembered->info.name) choose(entry.number);
    }
    if (table.currentPort == 0 && savedPort != 0 && listed(savedPort)) choose(savedPort);
    if (table.currentPort == 0 && listed(1)) choose(1);
    return table;
}

std::string RememberedPath(const std::vector<ListedPort>& ports, const std::string& deviceName) {
    const ListedPort* port = Find(ports, deviceName);
    return port && !port->byIdPath.empty() ? port->byIdPath : deviceName;
}

namespace {

// In name order, so a list the system returns in another order does not count as a change.
std::vector<ListedPort> Sorted(std::vector<ListedPort> ports) {
    std::sort(ports.begin(), ports.end(),
              [](const ListedPort& a, const ListedPort& b) { return a.info.name < b.info.name; });
    return ports;
}

}  // namespace

PortWatcher::PortWatcher(PortLister lister, int intervalMs, QObject* parent)
    : QObject(parent), m_lister(std::move(lister)) {
    if (m_lister) m_ports = Sorted(m_lister());
    if (intervalMs > 0) {
        m_timer = new QTimer(this);
        m_timer->setInterval(intervalMs);
        connect(m_timer, &QTimer::timeout, this, [this] { Poll(); });
        m_timer->start();
    }
}

bool PortWatcher::Poll() {
    if (!m_lister) return false;
    std::vector<ListedPort> ports = Sorted(m_lister());
    if (ports == m_ports) return false;
    m_ports = std::move(ports);
    emit changed();
    return true;
}

}  // namespace vantrel::app
