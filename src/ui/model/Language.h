// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace vantrel::ui {

class ProgramForm;

// One text to put on one control of the main window or the Language window: "Toolbar.<key>.ToolTip",
// "Menu.<item>", "Language.Caption", "Language.Exit". The programming window renders its own
// captions from the form.
struct TextAssignment {
    std::string target;
    std::string text;
    int textId = 0;  // Italian identifier it came from, 0 for a literal
    friend bool operator==(const TextAssignment&, const TextAssignment&) = default;
};

// The texts of the main window's toolbar and menus and of the Language window, in the order
// the windows take them; the form applies its own (see ProgramForm::ApplyLanguage). The GUI
// applies the returned assignments in order.
std::vector<TextAssignment> ApplyLanguage(ProgramForm& form);

// The Language window's buttons: 0 Italian, 1 English. Marks the configuration changed.
std::vector<TextAssignment> ChooseLanguage(ProgramForm& form, int languageIndex);

}  // namespace vantrel::ui
