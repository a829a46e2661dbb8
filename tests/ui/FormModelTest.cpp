// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Seeded random sequences of the user's operations on the programming form, with the
// invariants checked after every step: nothing becomes NaN or infinite, what Save writes
// reopens to the same record, and nothing edited is replaced without the Save / Discard /
// Cancel question. VANTREL_FORM_SEEDS=N runs N seeds instead of the fixed ones.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "Fakes.h"
#include "files/ProgramFile.h"
#include "ui/model/Language.h"

using namespace vantrel;
using namespace vantrel::ui;

namespace {

constexpr int kUnsavedChangesText = 100;
constexpr int kEditingOperations = 16;  // the first ones of Operations()

struct Bench : test::FormFixture {
    test::ScriptedFileDialogs fileDialogs;
    test::MemoryStore store;
    ProgramFileCommands files{form, fileDialogs, store};
    std::mt19937 rng;
    int saves = 0;

    explicit Bench(unsigned seed) : rng(seed) { state.CurrentFile = "DfLt0000.D70"; }

    int Below(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng); }
    std::string Number() {
        static const char* const kTexts[] = {"0", "100", "-50", "250,5", "1e39", "abc", "", "1000", "4", "20", "-200"};
        return kTexts[Below(static_cast<int>(std::size(kTexts)))];
    }
    std::string Name() { return "/bench/f" + std::to_string(Below(3)) + ".D70"; }
};

using Operation = std::function<void(Bench&)>;

const std::vector<Operation>& Operations() {
    // Only what the window offers: a control that is hidden or disabled is not used.
    static const auto choose = [](Bench& b, const ChoiceList& list, void (ProgramForm::*pick)(int)) {
        if (list.visible && list.enabled && list.Count() > 0) (b.form.*pick)(b.Below(list.Count()));
    };
    static const auto usable = [](const auto& control) { return control.visible && control.enabled; };
    static const std::vector<Operation> kOperations = {
        [](Bench& b) { choose(b, b.form.inputFamilies(), &ProgramForm::ChooseFamily); },
        [](Bench& b) { choose(b, b.form.thermocoupleTypes(), &ProgramForm::ChooseTcType); },
        [](Bench& b) { choose(b, b.form.rtdSensors(), &ProgramForm::ChooseRtdSensor); },
        [](Bench& b) { choose(b, b.form.wirings(), &ProgramForm::ChooseWiring); },
        [](Bench& b) { choose(b, b.form.potRanges(), &ProgramForm::ChoosePotRange); },
        [](Bench& b) { if (usable(b.form.internalCjc())) b.form.ClickInternalCjc(!b.form.internalCjc().checked); },
        [](Bench& b) { if (usable(b.form.linearisation())) b.form.ClickLinear(!b.form.linearisation().checked); },
        [](Bench& b) { if (usable(b.form.unitButton())) b.form.ToggleUnit(); },
        [](Bench& b) { b.form.TypeInputRange(b.Number(), b.Number()), b.form.LeaveInputRange(); },
        [](Bench& b) { choose(b, b.form.outputTypes(), &ProgramForm::ChooseOutputType); },
        [](Bench& b) { b.form.TypeOutputRange(b.Number(), b.Number()), b.form.LeaveOutputRange(); },
        [](Bench& b) { if (usable(b.form.burnoutButton())) b.form.ToggleBurnout(); },
        [](Bench& b) { if (usable(b.form.directionButton())) b.form.ToggleDirection(); },
        [](Bench& b) { if (usable(b.form.filter())) b.form.ClickFilter(!b.form.filter().checked); },
        [](Bench& b) { b.form.MoveSlider(b.Below(2) ? AdjustWhich::Zero : AdjustWhich::Span, b.Below(101) - 50); },
        [](Bench& b) { b.form.SetAdjustText(AdjustWhich::Zero, b.Number()), b.form.AdjustEnter(AdjustWhich::Zero); },
        // The operations above edit the configuration; those below do not.
        [](Bench& b) { ChooseLanguage(b.form, b.Below(2)); },
        [](Bench& b) {  // Save (As) under one of a few names
            b.fileDialogs.names = {b.Name()};
            if (b.Below(2) ? b.files.SaveAs() : b.files.Save()) ++b.saves;
        },
        [](Bench& b) {  // Open, answering the question (if asked) at random
            const bool edited = b.state.EditedSinceLoad;
            const std::size_t shownBefore = b.dialogs.shown.size();
            const std::size_t dialogsBefore = b.fileDialogs.opened.size();
            static const link::Answer kAnswers[] = {link::Answer::Yes, link::Answer::No, link::Answer::Cancel};
            b.dialogs.answers = {kAnswers[b.Below(3)]};
            b.fileDialogs.names = {b.Name(), b.Name()};
            b.files.Open();
            // The question comes before any file dialog whenever something was edited.
            const bool asked = b.dialogs.shown.size() > shownBefore &&
                               b.dialogs.shown[shownBefore].textId == kUnsavedChangesText;
            EXPECT_EQ(asked, edited);
            if (!edited) { EXPECT_EQ(b.fileDialogs.opened.size(), dialogsBefore + 1); }
        },
    };
    return kOperations;
}

void ExpectFinite(const device::ConfigRecord& r, const std::string& where) {
    for (float v : {r.InRangeMin, r.InRangeMax, r.OutRangeMin, r.OutRangeMax, r.Trip1High, r.Trip1Low, r.Trip2High,
                    r.Trip2Low, r.TripDelay})
        EXPECT_TRUE(std::isfinite(v)) << where;
}

// What the transmitter would be programmed with, as the form shows it.
struct Shown {
    InputEncoding encoding;
    std::string inputMin, inputMax, outputMin, outputMax;
    int outputType = 0;
    bool burnoutDown = false, direct = false, filter = false;
    friend bool operator==(const Shown&, const Shown&) = default;
};

Shown WhatIsShown(ProgramForm& form) {
    return {form.EncodeInput(),      form.inputRange().minText(),  form.inputRange().maxText(),
            form.outputRange().minText(), form.outputRange().maxText(), form.outputTypes().selected,
            form.record().BurnoutDown != 0, form.record().OutputDirect != 0, form.filter().checked};
}

// What Save wrote opens, in a fresh form for the same transmitter, to what the form showed;
// and saving it again writes the same bytes.
void ExpectSavedFileReopensTheSame(const Bench& b, const std::string& name, const Shown& shown,
                                   const std::string& where) {
    Bench reopened(0);
    reopened.store = b.store;
    reopened.fileDialogs.names = {name};
    ASSERT_TRUE(reopened.files.Open()) << where << ' ' << name;
    reopened.files.FillRecord();
    const auto kept = [](const Shown& s) {
        return std::tie(s.encoding, s.inputMin, s.inputMax, s.outputMin, s.outputMax, s.outputType, s.filter);
    };
    EXPECT_TRUE(kept(WhatIsShown(reopened.form)) == kept(shown)) << where;
    const auto firstBytes = files::EncodeRecord(reopened.form.record());
    reopened.fileDialogs.names = {name};
    ASSERT_TRUE(reopened.files.SaveAs()) << where;
    EXPECT_EQ(files::EncodeRecord(reopened.store.files.at(name)), firstBytes) << where;
}

std::vector<unsigned> Seeds() {
    const char* count = std::getenv("VANTREL_FORM_SEEDS");
    std::vector<unsigned> seeds(count ? static_cast<std::size_t>(std::max(1, std::atoi(count))) : 8u);
    for (std::size_t i = 0; i < seeds.size(); ++i) seeds[i] = static_cast<unsigned>(count ? 1000 + i : 1 + i);
    return seeds;
}

}  // namespace

TEST(FormModel, RandomOperationSequences_KeepTheInvariants) {
    const std::vector<Operation>& operations = Operations();
    for (const unsigned seed : Seeds()) {
        Bench b(seed);
        for (int step = 0; step < 120; ++step) {
            const int which = b.Below(static_cast<int>(operations.size()));
            const std::string where = "seed " + std::to_string(seed) + " step " + std::to_string(step) + " op " +
                                      std::to_string(which);
            const int savesBefore = b.saves;
            b.files.FillRecord();
            const Shown before = WhatIsShown(b.form);
            operations[static_cast<std::size_t>(which)](b);
            b.dialogs.shown.clear();
            const InputEncoding encoding = b.form.EncodeInput();
            EXPECT_GE(encoding.inputCode, 0) << where;
            b.files.FillRecord();
            ExpectFinite(b.form.record(), where);
            // A change of what would be programmed is an edit: a later open or read asks about it.
            if (which < kEditingOperations && !(WhatIsShown(b.form) == before)) {
                EXPECT_TRUE(b.state.EditedSinceLoad) << where;
            }
            if (b.saves != savesBefore) ExpectSavedFileReopensTheSame(b, b.state.CurrentFile, before, where);
            if (::testing::Test::HasFailure()) return;
        }
    }
}
