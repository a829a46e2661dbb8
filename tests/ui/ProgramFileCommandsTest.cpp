// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "Fakes.h"
#include "resources/StringTable.h"

using namespace vantrel;
using namespace vantrel::ui;
using test::FormFixture;
using test::MemoryStore;
using test::ScriptedFileDialogs;

namespace {

struct FileFixture : FormFixture {
    ScriptedFileDialogs fileDialogs;
    MemoryStore store;
    ProgramFileCommands files{form, fileDialogs, store, "/opt/vantrel"};

    FileFixture() { state.CurrentFile = "DfLt0000.D70"; }
};

// A configuration touching every field the form holds.
void Configure(FileFixture& f) {
    ProgramForm& form = f.form;
    form.ChooseFamily(1), form.ChooseRtdSensor(3), form.ChooseWiring(2), form.ClickLinear(true), form.ToggleUnit();
    form.MoveSlider(AdjustWhich::Zero, 12), form.MoveSlider(AdjustWhich::Span, -7);
    form.ChooseOutputType(1), form.TypeOutputRange("1", "9");
    form.ToggleBurnout(), form.ToggleDirection(), form.ClickFilter(true);
    f.state.TripLevels = {150, 140, 60, 50};
    f.state.TripFlags = 1;
    form.ClickCustom(true);  // the editor accepts; the tables come from the working state
    f.state.SensorPoints = 5;
    f.state.PointExtra = true;  // 4 entered, 1 added
    f.state.CjcPoints = 2;
    f.state.PtPhysical = {0, 10, 20, 30, 40};
    f.state.PtInput = {100, 125, 150, 175, 200};
    f.state.CjcPhysical = {0, 40};
    f.state.CjcInput = {1, 2};
    form.TypeInputRange("10", "250,5");
}

}  // namespace

TEST(ProgramFile, SaveThenOpen_RestoresEveryField) {
    FileFixture f;
    Configure(f);
    f.fileDialogs.names = {"C:\\cfg\\rtd.D70"};
    ASSERT_TRUE(f.files.Save());
    // The file's own encoding: true is -1, the added point of an even table is not stored.
    const device::ConfigRecord saved = f.store.files.at("C:\\cfg\\rtd.D70");
    device::ConfigRecord expected = saved;
    expected.InputType = 1, expected.RtdSensor = 3, expected.Wires = 2, expected.LinearOn = 1;
    expected.UnitCelsius = 0, expected.InRangeMax = 250.5f, expected.ZeroAdjust = 12, expected.SpanAdjust = -7;
    expected.OutputType = -1, expected.BurnoutDown = -1, expected.OutputDirect = 0, expected.FilterOn = -1;
    expected.CustomOn = -1, expected.PointCount = 4, expected.Points[3] = {30, 175}, expected.Trip1High = 150;
    EXPECT_EQ(saved, expected);
    EXPECT_FALSE(f.state.ConfigChanged);

    // Start over, then open: the form and working state come back, nothing else needed.
    FileFixture g;
    g.store = f.store;
    g.fileDialogs.names = {"C:\\cfg\\rtd.D70"};
    ASSERT_TRUE(g.files.Open());
    g.files.FillRecord();
    device::ConfigRecord reread = g.record;
    reread.LangOffset = saved.LangOffset;
    EXPECT_EQ(reread, saved);
    EXPECT_EQ(g.form.wirings().selected, 2);  // four wires, not the family's three
    EXPECT_TRUE(g.host.editorRequests.empty());
    EXPECT_EQ(g.state.SegmentCount, 4);  // the added point of the even table is back
    EXPECT_TRUE(g.state.PointExtra);
    EXPECT_FALSE(g.state.ConfigChanged);
}

TEST(ProgramFile, PlainFileAfterCustom_TurnsCustomOff) {
    FileFixture f;
    f.fileDialogs.names = {"/p/plain.D70"};
    ASSERT_TRUE(f.files.Save());
    f.form.ClickCustom(true);
    ASSERT_TRUE(f.state.CustomActive);
    f.fileDialogs.names = {"/p/plain.D70"};
    f.dialogs.answers = {link::Answer::No};  // discard the edit
    ASSERT_TRUE(f.files.Open());
    EXPECT_FALSE(f.form.customCurve().checked);
    EXPECT_FALSE(f.state.CustomActive);
}

TEST(ProgramFile, ModelWithoutTrips_NeitherSavesNorLoadsTrips) {
    FileFixture f;
    f.form.ApplyIdentity({4, 9, 0, 0});
    f.record.Trip1High = 77;
    f.state.TripLevels = {1, 2, 3, 4};
    f.fileDialogs.names = {"/p/a.D70"};
    ASSERT_TRUE(f.files.Save());
    EXPECT_FLOAT_EQ(f.store.files.at("/p/a.D70").Trip1High, 77);
    f.store.files["/p/a.D70"].Trip1High = 99;
    f.fileDialogs.names = {"/p/a.D70"};
    ASSERT_TRUE(f.files.Open());
    EXPECT_FLOAT_EQ(f.state.TripLevels[0], 1);
}

TEST(ProgramFile, DefaultName_AlwaysAsks_FullPathStartingDfLtOnlyInTheTitleDoesNot) {
    FileFixture f;
    f.fileDialogs.names = {"/p/DfLt0003.D70"};
    ASSERT_TRUE(f.files.Save());
    ASSERT_EQ(f.fileDialogs.saved.size(), 1u);
    f.state.ConfigChanged = true;
    ASSERT_TRUE(f.files.Save());
    EXPECT_EQ(f.fileDialogs.saved.size(), 1u);  // saved over the same path without asking
    EXPECT_EQ(f.form.commands().caption, "Vantrel  ( DfLt0003.D70 )");
}

TEST(ProgramFile, SaveAsCancelled_ClearsForceSaveAsAndKeepsChanged) {
    FileFixture f;
    f.state.CurrentFile = "/p/x.D70";
    f.state.ConfigChanged = true;
    EXPECT_FALSE(f.files.SaveAs());
    EXPECT_FALSE(f.state.ForceSaveAs);
    EXPECT_TRUE(f.state.ConfigChanged);
    EXPECT_TRUE(f.store.files.empty());
}

TEST(ProgramFile, AskSaveChanges_ReturnsZeroSixSevenOrTwo) {
    FileFixture f;
    EXPECT_EQ(f.files.AskSaveChanges(), 0);
    EXPECT_TRUE(f.dialogs.shown.empty());

    f.state.ConfigChanged = true;
    f.dialogs.answers = {link::Answer::No};
    EXPECT_EQ(f.files.AskSaveChanges(), 7);
    EXPECT_EQ(f.dialogs.shown.back().text,
              "Le Impostazioni del file DfLt0000.D70 sono cambiate. Salvare i nuovi cambiamenti ?");

    f.dialogs.answers = {link::Answer::Cancel};
    EXPECT_EQ(f.files.AskSaveChanges(), 2);

    f.dialogs.answers = {link::Answer::Yes};  // and the save dialog is cancelled
    EXPECT_EQ(f.files.AskSaveChanges(), 2);

    f.dialogs.answers = {link::Answer::Yes};
    f.fileDialogs.names = {"/p/y.D70"};
    EXPECT_EQ(f.files.AskSaveChanges(), 6);
    EXPECT_FALSE(f.state.ConfigChanged);
}

TEST(ProgramFile, BadFiles_ShowText174WithThePathAndTheReasonAndChangeNothing) {
    FileFixture f;
    f.state.ConfigChanged = true;
    f.form.ApplyIdentity({2, 9, 0, 0});
    f.form.ChooseFamily(3);
    f.state.EditedSinceLoad = false;  // nothing to ask: only the file's own messages are shown
    device::ConfigRecord foreign;
    foreign.InputType = 5;  // current: not offered by family 2
    f.store.files["/p/foreign.D70"] = foreign;
    for (const char* name : {"ab", "/p/missing.D70", "/p/foreign.D70"}) {
        f.fileDialogs.names = {name};
        EXPECT_FALSE(f.files.Open()) << name;
    }
    const std::string invalid = "Il formato del file specificato non è valido";
    const std::string expected[] = {
        invalid,
        invalid + "\n/p/missing.D70\nIl file, o la cartella che lo contiene, non esiste.",
        invalid + "\n/p/foreign.D70\nIl file contiene scelte che questo trasmettitore non offre.",
    };
    ASSERT_EQ(f.dialogs.shown.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(f.dialogs.shown[i].text, expected[i]);
    EXPECT_EQ(f.form.inputFamilies().selected, 3);
    EXPECT_EQ(f.state.CurrentFile, "DfLt0000.D70");
    EXPECT_TRUE(f.state.ConfigChanged);

    f.fileDialogs.names = {};
    EXPECT_FALSE(f.files.Open());  // cancelled: no message
    EXPECT_EQ(f.dialogs.shown.size(), 3u);
}

TEST(ProgramFile, SaveProblems_AreToldWithThePathAndTheSystemsReason) {
    FileFixture f;
    f.state.ConfigChanged = true;
    f.store.writeResult = files::WriteResult(files::FileError::SystemError, ENOSPC);
    f.fileDialogs.names = {"/ro/z.D70"};
    EXPECT_FALSE(f.files.Save());
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text, "Il file non può essere scritto:\n/ro/z.D70\nErrore del sistema: " +
                                           std::string(std::strerror(ENOSPC)));
    EXPECT_EQ(f.state.CurrentFile, "DfLt0000.D70");
    EXPECT_TRUE(f.state.ConfigChanged);

    // A range end a file cannot keep (beyond a Single) stops the save instead of storing infinity.
    f.store.writeResult = {};
    f.form.TypeInputMax("1e39");
    f.fileDialogs.names = {"/p/a.D70"};
    EXPECT_FALSE(f.files.Save());
    EXPECT_EQ(f.dialogs.shown.back().text, "Formato non valido: 1e39");
    EXPECT_TRUE(f.store.files.empty());

    // Saved in place: the save succeeds and says it was not atomic.
    f.form.TypeInputMax("100");
    f.store.writeResult.atomic = false;
    f.fileDialogs.names = {"/ro-folder/a.D70"};
    EXPECT_TRUE(f.files.Save());
    EXPECT_EQ(f.dialogs.shown.back().textId, resources::text::kFileSavedInPlace);
    EXPECT_FALSE(f.state.ConfigChanged);
}

TEST(FileTitle, TakesThePartAfterTheLastSeparatorAfterTheFirstCharacter) {
    EXPECT_EQ(FileTitle("C:\\dir\\a.D70"), "a.D70");
    EXPECT_EQ(FileTitle("/home/u/b.D70"), "b.D70");
    EXPECT_EQ(FileTitle("\\c.D70"), "\\c.D70");
}

// Opening over the user's edits asks first. Cancel keeps them (no file dialog); Discard
// opens; Save writes them, then opens; a Save whose name dialog is cancelled opens nothing.
TEST(ProgramFile, OpenOverEdits_AsksSaveDiscardOrCancel) {
    struct Case {
        link::Answer answer;
        std::deque<std::string> names;
        bool opened;
        bool editSaved;
    };
    const Case cases[] = {
        {link::Answer::Cancel, {"/p/other.D70"}, false, false},
        {link::Answer::No, {"/p/other.D70"}, true, false},
        {link::Answer::Yes, {"/p/edit.D70", "/p/other.D70"}, true, true},
        {link::Answer::Yes, {"", "/p/other.D70"}, false, false},
    };
    FileFixture plain;
    plain.fileDialogs.names = {"/p/other.D70"};
    ASSERT_TRUE(plain.files.Save());  // a thermocouple file
    for (const Case& c : cases) {
        FileFixture f;
        f.store = plain.store;
        f.form.ChooseFamily(1);  // the edit: an RTD
        f.dialogs.answers = {c.answer};
        f.fileDialogs.names = c.names;
        EXPECT_EQ(f.files.Open(), c.opened);
        EXPECT_EQ(f.dialogs.shown.front().textId, 100);
        EXPECT_EQ(f.store.files.count("/p/edit.D70"), c.editSaved ? 1u : 0u);
        EXPECT_EQ(f.form.inputFamilies().selected, c.opened ? 0 : 1);
        }
    // A file dropped, chosen from the recent files or named on the command line asks the same.
    FileFixture dropped;
    dropped.store = plain.store;
    dropped.form.ChooseFamily(1);
    dropped.dialogs.answers = {link::Answer::Cancel};
    EXPECT_FALSE(dropped.files.OpenPath("/p/other.D70"));
    EXPECT_EQ(dropped.form.inputFamilies().selected, 1);
}
