// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Entries that could not be written to the database wait in a JSON Lines file beside it:
// one entry's content per line, in the order they were recorded.
namespace vantrel::history {

class Store;

class Spool {
public:
    explicit Spool(std::filesystem::path path) : m_path(std::move(path)) {}

    const std::filesystem::path& path() const { return m_path; }
    bool Empty() const;
    // Appends one entry and hands it to the system at once. False, with the reason, when the
    // file cannot be written.
    bool Add(const std::string& content, std::string& problem);
    std::vector<std::string> Lines() const;

    struct Replayed {
        int written = 0;   // entries the database took
        int skipped = 0;   // entries it held already (written before the spool was emptied)
        bool complete = false;  // the spool is empty now
    };
    // Writes the waiting entries to the database in order. Those it could not write stay, in
    // order; a line that is not an entry is moved to a file beside the spool (".rejected").
    Replayed Replay(Store& store);

private:
    bool Keep(const std::vector<std::string>& lines);

    std::filesystem::path m_path;
};

}  // namespace vantrel::history
