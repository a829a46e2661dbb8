// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/model/Language.h"

#include "resources/StringTable.h"
#include "ui/model/ProgramForm.h"

namespace vantrel::ui {

namespace {

class Assignments {
public:
    explicit Assignments(int offset) : offset_(offset) {}

    void Add(std::string target, int id, const std::string& suffix = {}) {
        list_.push_back({std::move(target), resources::Text(id, offset_) + suffix, id});
    }
    std::vector<TextAssignment> Take() { return std::move(list_); }

private:
    int offset_;
    std::vector<TextAssignment> list_;
};

void ToolbarAndMenus(Assignments& a) {
    a.Add("Toolbar.apri.ToolTip", 59);
    a.Add("Toolbar.salva.ToolTip", 60);
    a.Add("Toolbar.start.ToolTip", 65);
    a.Add("Toolbar.stop.ToolTip", 66);
    a.Add("Toolbar.txrx.ToolTip", 77);
    a.Add("Toolbar.exit.ToolTip", 63);
    a.Add("Toolbar.connect.ToolTip", 114);
    a.Add("Toolbar.Wiz.ToolTip", 184);
    const std::pair<const char*, int> menus[] = {
        {"Menu.f", 58}, {"Menu.apri", 59}, {"Menu.salva", 60}, {"Menu.salvacome", 61},
        {"Menu.esci", 63}, {"Menu.azioni", 64}, {"Menu.start", 65}, {"Menu.stoppa", 66},
        {"Menu.opzioni", 67}, {"Menu.caratteri", 71}, {"Menu.porte", 72}, {"Menu.lingua", 73},
        {"Menu.visual", 76}, {"Menu.fullscreen", 77}, {"Menu.finestre", 78}, {"Menu.taratura", 74},
        {"Menu.progmisura", 143}, {"Menu.help", 79}, {"Menu.info", 80},
    };
    for (const auto& [target, id] : menus) a.Add(target, id);
}

}  // namespace

std::vector<TextAssignment> ApplyLanguage(ProgramForm& form) {
    Assignments a(form.LanguageOffset());
    ToolbarAndMenus(a);
    a.Add("Menu.guida", 81);
    a.Add("Language.Caption", 73);
    a.Add("Language.Exit", 63);
    // The programming window renders its own captions from the form at each refresh.
    form.ApplyLanguage();
    return a.Take();
}

std::vector<TextAssignment> ChooseLanguage(ProgramForm& form, int languageIndex) {
    form.state().SetLanguageIndex(languageIndex);
    form.state().ConfigChanged = true;
    return ApplyLanguage(form);
}

}  // namespace vantrel::ui
