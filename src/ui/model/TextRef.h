// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "resources/StringTable.h"

namespace vantrel::ui {

// A caption as the form holds it: a string-table text (Italian identifier) or a literal that
// reads the same in both languages, plus an optional literal suffix (" 1" after "Soglia").
// The view renders it in the current language.
struct TextRef {
    int id = 0;
    std::string literal;

    static TextRef Id(int italianId, std::string suffix = {}) { return {italianId, std::move(suffix)}; }
    static TextRef Literal(std::string text) { return {0, std::move(text)}; }

    std::string Render(int languageOffset) const {
        return id == 0 ? literal : resources::Text(id, languageOffset) + literal;
    }
    friend bool operator==(const TextRef&, const TextRef&) = default;
};

}  // namespace vantrel::ui
