// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "link/Transport.h"

namespace vantrel::link {

// Ports are numbered from 1. On Windows port n is "COMn"; elsewhere it is the n-th of the
// ports the system lists, in natural name order (ttyS2 before ttyS10).
#ifdef _WIN32
inline constexpr bool kWindowsPortNames = true;
#else
inline constexpr bool kWindowsPortNames = false;
#endif

// Start-up probes ports 1..16.
inline constexpr int kProbedPorts = 16;

struct PortEntry {
    int number = 0;
    std::string name;       // what the transport opens ("COM3", "/dev/ttyUSB0")
    std::string description;  // what the system says the port is ("USB-Serial Controller (Prolific)")
    bool exists = true;     // cleared when the port cannot be addressed
    bool busy = false;      // another program holds it
    bool selected = false;  // proposed as the current port
};

struct PortTable {
    std::vector<PortEntry> entries;  // ports 1..16, entry i is port i + 1
    int currentPort = 0;             // 0 when no port is free
    bool anyOpened = false;          // false: no port at all could be opened (text 82, the program ends)

    const PortEntry* find(int number) const;
};

// A port as the system lists it.
struct SystemPortInfo {
    std::string name;          // what the transport opens
    std::string description;   // the system's description; for a USB adapter its product
    std::string manufacturer;
    int usbVendor = -1;        // USB vendor and product ids, -1 when not a USB device
    int usbProduct = -1;
};

// One line that tells a technician which port is which: the description, the manufacturer
// in brackets when the description does not already name it, the USB ids when the system
// has no words for the device; empty when nothing is known.
std::string PortDescription(const SystemPortInfo& info);

// Copies each listed port's description into the table's entry of the same name.
void DescribePorts(PortTable& table, const std::vector<SystemPortInfo>& infos);

// Sorts names in natural order: runs of digits compare by value.
std::vector<std::string> SortPortNames(std::vector<std::string> names);

// The name of port n; empty when the system lists fewer ports.
std::string PortNameFor(int number, const std::vector<std::string>& systemPorts,
                        bool windowsNames = kWindowsPortNames);

// A port as the user names it: a number is a port number, anything else a device path
// used as it stands (a pseudo-terminal, for instance). Empty when the number names no port.
std::string ResolvePortName(std::string_view text, const std::vector<std::string>& systemPorts,
                            bool windowsNames = kWindowsPortNames);

// Opens and closes ports 1..16 once to learn which exist and which are busy, then proposes
// the first free one; a non-zero saved port then takes its place (used without looking at
// the probe, as long as some port was found).
PortTable ProbePorts(Transport& transport, const std::vector<std::string>& systemPorts, int savedPort,
                     bool windowsNames = kWindowsPortNames);

}  // namespace vantrel::link
