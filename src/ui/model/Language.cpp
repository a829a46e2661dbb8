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
    void Add(std::string target, const TextRef& ref) {
        list_.push_back({std::move(target), ref.Render(offset_), ref.id});
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

void ProgramLabels(Assignments& a, const ProgramForm& form) {
    a.Add("Program.OutputOptions", 229);
    a.Add("Program.Output", 207);
    a.Add("Program.Label16", 211);
    a.Add("Program.Trips", 221);
    a.Add("Program.Trip1", 223, " 1");
    a.Add("Program.Trip2", 223, " 2");
    a.Add("Program.Input", 232);
    a.Add("Program.CtlRangeOut.Titolo", 215);
    a.Add("Program.CtlRangeIn.Titolo", 208);
    // The compensation caption and the range captions follow the current choice.
    a.Add("Program.Giunto", form.Giunto.caption);
    a.Add("Program.Linear", 102);
    a.Add("Program.SmChk", 228);
    a.Add("Program.Modo0", 103);
    a.Add("Program.Modo1", 104);
    a.Add("Program.CtlRangeIn.LTMaxp", form.CtlRangeIn.LTMaxp);
    a.Add("Program.CtlRangeIn.LTMinp", form.CtlRangeIn.LTMinp);
    a.Add("Program.CommActivity", 86);
    a.Add("Program.InputType", 88);
    a.Add("Program.InputOptions", 107);
    a.Add("Program.OutputAdjustments", 159);
    a.Add("Program.ModeLabel", 158);
    a.Add("Program.OutputOptions2", 229);
    a.Add("Program.Input2", 232);
    a.Add("Program.Output2", 207);
    a.Add("Program.Trips2", 221);
    a.Add("Program.Trip1b", 223, " 1");
    a.Add("Program.Trip2b", 223, " 2");
    a.Add("Program.ProgrammingInfo", 105);
}

}  // namespace

std::vector<TextAssignment> ApplyLanguage(ProgramForm& form) {
    const int offset = form.LanguageOffset();
    Assignments a(offset);
    a.Add("Program.Caption", 143);
    ToolbarAndMenus(a);
    ProgramLabels(a, form);
    a.Add("Program.Label5", form.Label5.text);
    a.Add("Program.DeviceLabel", 172);
    a.Add("Language.Caption", 73);
    a.Add("Language.Exit", 63);
    a.Add("LargeDisplay.Exit", 63);
    a.Add("LargeDisplay.MeasureLabel", 103);
    a.Add("Program.Label15", form.OutputDirect ? 177 : 178);
    a.Add("Program.Command1.ToolTip", form.mode == Mode::Measure ? 103 : 104);
    a.Add("Menu.guida", 81);
    a.Add("Program.Label9", form.BurnoutDown ? 175 : 176);
    a.Add("Program.TripsLabel", 221);

    form.CtlRangeIn.Language = offset;
    form.CtlRangeOut.Language = offset;
    form.FormLoading = false;
    if (form.deviceConnected) {
        form.RenderSummary();
    } else {
        form.modelText = form.T(84);
        form.summaryText = form.T(115);
    }
    form.Changed();
    return a.Take();
}

std::vector<TextAssignment> ChooseLanguage(ProgramForm& form, int languageIndex) {
    form.state().LanguageIndex = languageIndex;
    form.state().LanguageOffset = resources::LanguageOffsetFor(languageIndex);
    form.state().ConfigChanged = true;
    return ApplyLanguage(form);
}

}  // namespace vantrel::ui
