// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into the test programs that also run in the "locale" group: with LC_ALL set (the
// group sets it to an Italian locale) the process takes the environment's locale before any
// test runs, as the Qt start-up of the three programs does. The C library then writes and
// reads a decimal comma, so any machine-readable number that goes through it fails.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const bool kLocaleTaken = [] {
    const char* wanted = std::getenv("LC_ALL");
    if (wanted == nullptr || *wanted == '\0') return false;
    const bool italian = std::strncmp(wanted, "it_IT", 5) == 0;
    // An Italian locale that is missing would let the group pass for the wrong reason.
    if (std::setlocale(LC_ALL, "") == nullptr || (italian && std::localeconv()->decimal_point[0] != ',')) {
        std::fprintf(stderr, "the locale %s is not installed (Debian: locales, locale-gen)\n", wanted);
        std::exit(1);
    }
    return true;
}();

}  // namespace
