// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <fstream>

#include "AppFixture.h"
#include "files/Settings.h"
#include "resources/StringTable.h"

using namespace vantrel;
using namespace vantrel::app;

namespace {

constexpr int kUnsavedChangesText = 100;

class MainWindowTest : public app::test::AppTest {
protected:
    void Load() { window->LoadProgramWindow(); }
};

}  // namespace

TEST_F(MainWindowTest, StartUpOnTheSimulator_EndsWithTheConfigurationInTheSummaryAndWizEnabled) {
    Start();
    EXPECT_FALSE(window->toolKey("Wiz")->isEnabled());
    Load();
    EXPECT_TRUE(Has(Summary(), "Input Range: 0 to 1000")) << Summary();
    EXPECT_TRUE(Has(Summary(), "Output Range: 4 to 20 mA"));
    EXPECT_TRUE(Has(ModelBox(), "KRV")) << ModelBox();
    EXPECT_TRUE(window->toolKey("Wiz")->isEnabled());
    EXPECT_TRUE(window->toolKey("start")->isEnabled());
    EXPECT_TRUE(window->menuItem("serial")->isVisible());  // customer 12, not 255
    EXPECT_EQ(env->dialogs().shown().size(), 0u);
}

// The language window's choice re-renders the summary, marks the configuration changed and
// is kept in the settings.
TEST_F(MainWindowTest, SwitchingLanguage_RerendersTheSummaryAndKeepsTheChoice) {
    Start();
    Load();
    window->form().state().ConfigChanged = false;
    onWindow = [](QWidget* shown) {
        shown->findChild<QToolButton*>("LanguageItalian")->click();
        static_cast<QDialog*>(shown)->accept();
    };
    window->ShowLanguage();
    EXPECT_EQ(window->menuItem("salvacome")->text(), "Salva con Nome...");
    EXPECT_TRUE(Has(Summary(), "Termocoppia Tipo K")) << Summary();
    EXPECT_TRUE(window->form().state().ConfigChanged);
    EXPECT_EQ(window->settings().LanguageChoice, 0);
}

// Exit asks about unsaved changes and leaves the settings alone; closing through the frame
// asks the same and writes them.
TEST_F(MainWindowTest, ExitAndClose_AskAboutUnsavedChanges_OnlyClosingWritesTheSettings) {
    for (const bool throughTheFrame : {false, true}) {
        SCOPED_TRACE(throughTheFrame);
        Start();
        Load();
        env->dialogs().answer(link::Answer::Cancel).answer(link::Answer::No);
        for (int attempt = 1; attempt <= 2; ++attempt) {
            throughTheFrame ? (void)window->close() : window->menuItem("esci")->trigger();
            EXPECT_EQ(env->dialogs().countShown(kUnsavedChangesText), attempt);
            EXPECT_EQ(window->isVisible(), attempt == 1);  // Cancel, then No
        }
        EXPECT_EQ(env->dialogs().shown().back().buttons, link::Buttons::YesNoCancel);
        const std::optional<files::AppSettings> written = files::ReadSettings({AppFolder(), {}});
        EXPECT_EQ(written.has_value(), throughTheFrame);
        if (written) { EXPECT_EQ(*written, (files::AppSettings{1, -1, 0, 0})); }
        TearDown();
    }
}

TEST_F(MainWindowTest, TheConnectKey_RepeatsTheWholeLoading) {
    Start();
    Load();
    ASSERT_TRUE(Has(Summary(), "Thermocouple Type K"));

    // Edits on the form: the key asks first, and Cancel keeps them; No discards them.
    window->form().ChooseFamily(1);
    env->dialogs().answer(link::Answer::Cancel).answer(link::Answer::No);
    window->toolKey("connect")->trigger();
    EXPECT_EQ(env->dialogs().countShown(kUnsavedChangesText), 1);
    EXPECT_EQ(Seen("TentConn"), 1);
    EXPECT_EQ(window->form().inputFamilies().selected, 1);
    window->toolKey("connect")->trigger();  // No: loaded again
    EXPECT_EQ(Seen("TentConn"), 2);
    EXPECT_EQ(window->form().inputFamilies().selected, 0);
}

TEST_F(MainWindowTest, SmallCommands_HelpCalibrationPortsAndTheModeItem) {
    Start();
    Load();

    // Help: a clear message while the guide is missing, the system's viewer once it is there.
    window->menuItem("guida")->trigger();
    ASSERT_EQ(env->dialogs().countShown(resources::text::kHelpNotFound), 1);
    std::ofstream(AppFolder() / "MT_ENG_VANTREL30300.pdf") << "%PDF";
    window->menuItem("guida")->trigger();
    ASSERT_EQ(env->openedDocuments().size(), 1u);
    EXPECT_TRUE(env->openedDocuments()[0].endsWith("MT_ENG_VANTREL30300.pdf"));

    // The port window: OK without another port reloads nothing.
    onWindow = [](QWidget* shown) { static_cast<QDialog*>(shown)->accept(); };
    window->menuItem("porte")->trigger();
    EXPECT_EQ(Seen("doors"), 1);
    EXPECT_EQ(Seen("TentConn"), 1);

}

TEST_F(MainWindowTest, TheFormsTripsAndPointsWindows_OpenOverTheMainWindow) {
    Start();
    Load();
    Click("programmingOption");
    std::vector<QString> opened;
    // Modal windows the form opens itself: note each and close it with its Cancel button.
    const auto closeNextModal = [&] {
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            opened.push_back(QString::fromLatin1(modal->metaObject()->className()));
            EXPECT_EQ(modal->parentWidget(), window.get());
            static_cast<QDialog*>(modal)->reject();
        });
    };
    closeNextModal();
    Click("tripsButton");
    closeNextModal();
    Child<QCheckBox>("Custom")->click();
    EXPECT_EQ(opened, (std::vector<QString>{"vantrel::widgets::TripsDialog", "vantrel::widgets::PointsEditorDialog"}));
    EXPECT_FALSE(window->form().customCurve().checked);  // the editor was cancelled
}
