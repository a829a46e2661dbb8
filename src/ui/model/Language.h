#pragma once

#include <string>
#include <vector>

namespace vantrel::ui {

class ProgramForm;

// One text to put on one control. Targets are "<window>.<control>[.<property>]" with the
// windows' own control names where they have one (see Language.cpp for the full list).
struct TextAssignment {
    std::string target;
    std::string text;
    int textId = 0;  // Italian identifier it came from, 0 for a literal
    friend bool operator==(const TextAssignment&, const TextAssignment&) = default;
};

// Re-applies every language-dependent text in the order the windows take them, sets both
// range controls' language, clears FormLoading and re-renders the summary (or shows the
// not-connected texts). The GUI applies the returned assignments in order.
std::vector<TextAssignment> ApplyLanguage(ProgramForm& form);

// The Language window's buttons: 0 Italian, 1 English. Marks the configuration changed.
std::vector<TextAssignment> ChooseLanguage(ProgramForm& form, int languageIndex);

}  // namespace vantrel::ui
