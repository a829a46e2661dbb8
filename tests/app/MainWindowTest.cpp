// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QTimer>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <fstream>

#include "app/MainWindow.h"
#include "app/SimulatedEnvironment.h"
#include "app/Windows.h"
#include "files/Settings.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"
#include "ui/widgets/ProgramWindow.h"
#include "ui/widgets/RangeControlWidget.h"

using namespace vantrel;
using namespace vantrel::app;

namespace {

constexpr int kNoReplyText = 85;
constexpr int kUnsavedChangesText = 100;

// Scripted answers that also note what the connection-test window showed when the
// Retry/Cancel box came up.
class WatchingDialogs final : public link::Dialogs {
public:
    explicit WatchingDialogs(link::ScriptedDialogs& answers) : m_answers(answers) {}
    std::vector<QString> attemptsAtNoReply;

    link::Answer Show(const link::Message& message) override {
        if (message.textId == kNoReplyText) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* test = qobject_cast<ConnectionTestWindow*>(w); test && test->isVisible())
                    attemptsAtNoReply.push_back(test->attemptText());
        }
        return m_answers.Show(message);
    }

private:
    link::ScriptedDialogs& m_answers;
};

class MainWindowTest : public ::testing::Test {
protected:
    void Start(SimulatedSetup setup = {}) {
        setup.appFolder = AppFolder();
        env = std::make_unique<SimulatedEnvironment>(setup);
        if (watch) {
            watching = std::make_unique<WatchingDialogs>(env->dialogs());
            env->services().dialogs = watching.get();
        }
        window = env->MakeMainWindow();
        window->SetWindowObserver([this](QWidget* shown) {
            seen.push_back(shown->objectName());
            if (const std::function<void(QWidget*)> handler = onWindow) handler(shown);
        });
        window->show();
    }
    void Load() { window->LoadProgramWindow(); }

    void TearDown() override {
        window.reset();
        watching.reset();
        env.reset();
    }

    std::filesystem::path AppFolder() const { return folder.path().toStdString(); }
    template <class T>
    T* Child(const char* name) const {
        T* child = window->programWindow()->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    std::string Summary() const { return Child<QPlainTextEdit>("summary")->toPlainText().toStdString(); }
    std::string ModelBox() const { return Child<QWidget>("txtMod")->property("text").toString().toStdString(); }
    QStringList Entries(const char* comboName) const {
        QStringList items;
        auto* combo = Child<QComboBox>(comboName);
        for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
        return items;
    }
    int Seen(const QString& name) const { return static_cast<int>(std::count(seen.begin(), seen.end(), name)); }
    bool Has(const std::string& text, const std::string& part) const { return text.find(part) != std::string::npos; }
    bool SettingsWritten() const { return std::filesystem::exists(AppFolder() / "settings.vtr"); }

    QTemporaryDir folder;
    bool watch = false;
    std::unique_ptr<SimulatedEnvironment> env;
    std::unique_ptr<WatchingDialogs> watching;
    std::unique_ptr<MainWindow> window;
    std::vector<QString> seen;
    std::function<void(QWidget*)> onWindow;
};

}  // namespace

TEST_F(MainWindowTest, StartUpOnTheSimulator_EndsWithTheConfigurationInTheSummaryAndWizEnabled) {
    Start();
    EXPECT_FALSE(window->toolKey("Wiz")->isEnabled());
    EXPECT_EQ(window->windowTitle(), "Vantrel");
    EXPECT_TRUE(window->form().state().ConfigChanged);  // the new configuration was never saved

    Load();
    EXPECT_TRUE(Has(Summary(), "Thermocouple Type K")) << Summary();
    EXPECT_TRUE(Has(Summary(), "Input Range: 0 to 1000"));
    EXPECT_TRUE(Has(Summary(), "Output Range: 4 to 20 mA"));
    EXPECT_TRUE(Has(ModelBox(), "KRV")) << ModelBox();
    EXPECT_TRUE(window->toolKey("Wiz")->isEnabled());
    EXPECT_TRUE(window->toolKey("start")->isEnabled());
    EXPECT_TRUE(window->menuItem("start")->isEnabled());
    EXPECT_EQ(Seen("TentConn"), 1);
    // The reading's progress is gone again.
    EXPECT_FALSE(window->progressBar()->isVisible());
    EXPECT_TRUE(window->statusLabel()->text().isEmpty());
    EXPECT_TRUE(window->menuItem("serial")->isVisible());  // customer 12, not 255
    EXPECT_EQ(env->dialogs().shown().size(), 0u);
}

TEST_F(MainWindowTest, WithoutATransmitter_RetryStartsANewSeries_CancelLeavesItalianNotConnectedAndFamily4Lists) {
    files::WriteSettings({AppFolder(), {}}, files::AppSettings{0, -1, 0, 0});  // Italian
    watch = true;
    SimulatedSetup setup;
    setup.transmitterAnswers = false;
    Start(setup);
    env->dialogs().answer(link::Answer::Retry);  // then Cancel
    Load();

    EXPECT_EQ(ModelBox(), "Dispositivo non connesso");
    EXPECT_EQ(Summary(), "Dati non pervenuti");
    EXPECT_EQ(Entries("Strumento"),
              QStringList({"Termocoppia", "RTD", "Potenziometro", "Tensione", "Resistenza", "Corrente"}));
    EXPECT_EQ(Entries("Vuscite"), QStringList({"Corrente", "Tensione"}));
    // Each series is a fresh window counting its "MI" commands from 1 again.
    EXPECT_EQ(Seen("TentConn"), 2);
    ASSERT_EQ(watching->attemptsAtNoReply.size(), 2u);
    EXPECT_EQ(watching->attemptsAtNoReply[0], watching->attemptsAtNoReply[1]);
    EXPECT_GE(watching->attemptsAtNoReply[0].trimmed().toInt(), 4);
    EXPECT_EQ(env->dialogs().countShown(kNoReplyText), 2);
    // No transmitter: nothing to start, but a new attempt can be made.
    EXPECT_FALSE(window->toolKey("start")->isEnabled());
    EXPECT_FALSE(window->menuItem("start")->isEnabled());
    EXPECT_FALSE(Child<QPushButton>("Command1")->isEnabled());
    EXPECT_TRUE(window->toolKey("connect")->isEnabled());
    EXPECT_TRUE(window->toolKey("Wiz")->isEnabled());

    // The language switch shows the not-connected texts in English.
    onWindow = [](QWidget* shown) {
        shown->findChild<QToolButton*>("LanguageEnglish")->click();
        static_cast<QDialog*>(shown)->accept();
    };
    window->ShowLanguage();
    EXPECT_EQ(ModelBox(), "Device not connected");
    EXPECT_EQ(Summary(), "No Data");
}

TEST_F(MainWindowTest, ProgrammingAThermocoupleByClickingAndTyping_TheSummaryShowsItReadBack) {
    SimulatedSetup setup;
    setup.fallbackAnswer = link::Answer::Yes;
    Start(setup);
    Load();
    ASSERT_TRUE(Has(Summary(), "Thermocouple Type K"));

    QTest::mouseClick(Child<QRadioButton>("Modo1"), Qt::LeftButton);
    ASSERT_EQ(window->form().mode(), ui::Mode::Programming);
    auto* tipo = Child<QComboBox>("Tipo");
    tipo->setFocus();
    QTest::keyClick(tipo, Qt::Key_Down);  // Type K -> Type J
    ASSERT_EQ(window->form().thermocoupleTypes().selected, 1);

    widgets::RangeControlWidget* range = window->programWindow()->rangeIn();
    range->maxBox()->selectAll();
    QTest::keyClicks(range->maxBox(), "400");
    range->minBox()->selectAll();
    QTest::keyClicks(range->minBox(), "0");
    ASSERT_TRUE(range->Leave().accepted);
    ASSERT_EQ(window->form().inputRange().maxText(), "400");

    QTest::mouseClick(Child<QPushButton>("Command1"), Qt::LeftButton);
    EXPECT_EQ(Seen("Video"), 1);
    EXPECT_TRUE(Has(Summary(), "Thermocouple Type J")) << Summary();
    EXPECT_TRUE(Has(Summary(), "Input Range: 0 to 400")) << Summary();
    EXPECT_FALSE(window->deviceBusy());
    EXPECT_TRUE(window->menuItem("lingua")->isEnabled());
    // The profile's trips (800) lie outside 0..400: said once before programming, nothing else.
    const std::string tripsOutside = resources::Text(resources::text::kTripsOutsideRange, 300);
    // The programming ends with its word.
    int tripsWarnings = 0;
    int doneWords = 0;
    for (const link::Message& m : env->dialogs().shown()) {
        if (m.text == tripsOutside) ++tripsWarnings;
        else if (m.textId == resources::text::kProgrammingDone) ++doneWords;
        else ADD_FAILURE() << "unexpected message " << m.text;
    }
    EXPECT_EQ(tripsWarnings, 1);
    EXPECT_EQ(doneWords, 1);
}

// The read-back after the writes fails: the transmitter's configuration is unknown. The
// program says so and offers a fresh read; Yes runs the whole loading again.
TEST_F(MainWindowTest, ProgrammingNotConfirmed_SaysTheConfigurationIsUnknown_YesReadsItAgain) {
    Start();
    Load();
    ASSERT_TRUE(Has(Summary(), "Thermocouple Type K"));
    sim::Transmitter& transmitter = env->transmitter();
    int writes = 0;
    transmitter.setCommandListener([&](const sim::Command& c) {
        writes += c.kind == sim::Command::Kind::Write ? 1 : 0;
        if (c.kind == sim::Command::Kind::EndProgramming && writes > 0) {
            transmitter.faults().dropReplies = 1;  // the read-back's first reply, once
            transmitter.faults().dropRepliesAfter = 0;
            writes = -1000;
        }
    });
    env->dialogs().answer(link::Answer::Cancel).answer(link::Answer::Yes);
    QTest::mouseClick(Child<QRadioButton>("Modo1"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>("Command1"), Qt::LeftButton);

    const std::vector<link::Message>& shown = env->dialogs().shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].textId, kNoReplyText);
    EXPECT_EQ(shown[1].buttons, link::Buttons::YesNo);
    EXPECT_EQ(shown[1].text, "Written but not confirmed: the transmitter's configuration is unknown.\n"
                             "Read the transmitter's configuration again now?");
    EXPECT_EQ(Seen("TentConn"), 2);  // Yes: the loading ran again
    EXPECT_TRUE(Has(Summary(), "Thermocouple Type K")) << Summary();
    EXPECT_TRUE(window->form().deviceConnected());
}

TEST_F(MainWindowTest, Measuring_ShowsTheSimulatedValue_AndStopEndsIt) {
    Start();
    Load();
    ASSERT_EQ(window->form().mode(), ui::Mode::Measure);
    std::string shown;
    bool operationWindowHidden = false;
    QObject::connect(window->programWindow(), &widgets::ProgramWindow::formChanged, window.get(), [&] {
        if (!shown.empty() || window->form().display().empty()) return;
        shown = window->form().display();
        // The first value hides the operation window so that Stop can be reached.
        operationWindowHidden = true;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "Video" && w->isVisible()) operationWindowHidden = false;
        EXPECT_TRUE(window->toolKey("stop")->isEnabled());
        EXPECT_FALSE(window->toolKey("start")->isEnabled());
        EXPECT_FALSE(window->toolKey("connect")->isEnabled());  // no second exchange meanwhile
        QTest::mouseClick(Child<QPushButton>("Command3"), Qt::LeftButton);
    });

    QTest::mouseClick(Child<QPushButton>("Command1"), Qt::LeftButton);

    ASSERT_FALSE(shown.empty());
    EXPECT_TRUE(Has(shown, "°C")) << shown;
    const double value = resources::ParseLeadingNumber(shown);
    EXPECT_NEAR(value, 25.0, 0.6) << shown;  // the simulated input: 25 °C
    EXPECT_TRUE(operationWindowHidden);
    EXPECT_EQ(Seen("Video"), 1);
    EXPECT_FALSE(env->transmitter().streaming());  // "SM" went out
    EXPECT_FALSE(window->deviceBusy());
    EXPECT_TRUE(window->form().display().empty());
    EXPECT_TRUE(Child<QPushButton>("Command1")->isEnabled());
    EXPECT_TRUE(window->toolKey("start")->isEnabled());
    EXPECT_TRUE(window->toolKey("connect")->isEnabled());
}

TEST_F(MainWindowTest, SwitchingLanguage_ReappliesEveryTextAndRerendersTheSummary) {
    Start();
    Load();
    window->form().state().ConfigChanged = false;
    QString captionAfterChoice;
    onWindow = [&](QWidget* shown) {
        ASSERT_EQ(shown->objectName(), "Language");
        EXPECT_EQ(shown->windowTitle(), "Language...");
        shown->findChild<QToolButton*>("LanguageItalian")->click();
        captionAfterChoice = shown->windowTitle();
        EXPECT_EQ(shown->findChild<QPushButton*>("LanguageExit")->text(), "Esci");
        static_cast<QDialog*>(shown)->accept();
    };
    window->ShowLanguage();

    EXPECT_EQ(captionAfterChoice, "Lingua...");
    EXPECT_EQ(window->menu("f")->title(), "&File");
    EXPECT_EQ(window->menu("azioni")->title(), "&Azioni");
    EXPECT_EQ(window->menu("visual")->title(), "&Visualizzazione Misura");
    EXPECT_EQ(window->menuItem("salvacome")->text(), "Salva con Nome...");
    EXPECT_EQ(window->menuItem("guida")->text(), "Guida in Linea");
    EXPECT_EQ(window->menuItem("serial")->text(), "Numero di serie...");
    EXPECT_EQ(window->toolKey("connect")->toolTip(), "Tentativo di Connessione");
    EXPECT_EQ(window->toolKey("Wiz")->toolTip(), "Percorso Guidato");
    EXPECT_TRUE(Has(Summary(), "Termocoppia Tipo K")) << Summary();
    EXPECT_TRUE(Has(Summary(), "1000"));
    EXPECT_TRUE(window->form().state().ConfigChanged);
    EXPECT_EQ(window->settings().LanguageChoice, 0);

    // Pressing the language already in use applies the texts again all the same.
    window->form().state().ConfigChanged = false;
    onWindow = [](QWidget* shown) {
        shown->findChild<QToolButton*>("LanguageItalian")->click();
        static_cast<QDialog*>(shown)->accept();
    };
    window->ShowLanguage();
    EXPECT_TRUE(window->form().state().ConfigChanged);
    EXPECT_EQ(window->menu("opzioni")->title(), "&Opzioni");
}

TEST_F(MainWindowTest, FileExit_AsksAboutUnsavedChanges_AndNeverWritesTheSettings) {
    Start();
    Load();
    env->dialogs().answer(link::Answer::Cancel);
    window->toolKey("exit")->trigger();
    ASSERT_EQ(env->dialogs().countShown(kUnsavedChangesText), 1);
    EXPECT_EQ(env->dialogs().shown().back().buttons, link::Buttons::YesNoCancel);
    EXPECT_TRUE(window->isVisible());

    env->dialogs().answer(link::Answer::No);
    window->menuItem("esci")->trigger();
    EXPECT_EQ(env->dialogs().countShown(kUnsavedChangesText), 2);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(SettingsWritten());
}

TEST_F(MainWindowTest, ClosingThroughTheFrame_AsksAndWritesTheSettings) {
    Start();
    Load();
    env->dialogs().answer(link::Answer::Cancel);
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(SettingsWritten());

    env->dialogs().answer(link::Answer::No);
    window->close();
    EXPECT_FALSE(window->isVisible());
    const std::optional<files::AppSettings> written = files::ReadSettings({AppFolder(), {}});
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, (files::AppSettings{1, -1, 0, 0}));
}

TEST_F(MainWindowTest, TheConnectKey_RepeatsTheWholeLoading) {
    Start();
    Load();
    ASSERT_TRUE(Has(Summary(), "Thermocouple Type K"));

    // The transmitter is unplugged: the new attempt ends not connected.
    env->transmitter().faults().noReply = true;
    window->toolKey("connect")->trigger();
    EXPECT_EQ(Seen("TentConn"), 2);
    EXPECT_EQ(ModelBox(), "Device not connected");
    EXPECT_FALSE(window->toolKey("start")->isEnabled());

    // Plugged in again: connected, described, and the device commands are back.
    env->transmitter().faults().noReply = false;
    window->toolKey("connect")->trigger();
    EXPECT_EQ(Seen("TentConn"), 3);
    EXPECT_TRUE(Has(Summary(), "Thermocouple Type K")) << Summary();
    EXPECT_TRUE(window->toolKey("start")->isEnabled());
    EXPECT_TRUE(window->menuItem("start")->isEnabled());
    EXPECT_TRUE(Child<QPushButton>("Command1")->isEnabled());
    EXPECT_TRUE(window->toolKey("Wiz")->isEnabled());
}

TEST_F(MainWindowTest, AFileNamedOnTheCommandLine_IsOpenedAndNamesTheWindow) {
    Start();
    Load();
    const std::string example = std::string(VANTREL_EXAMPLES_DIR) + "/TC_K_0-1000C_4-20mA.D70";
    ASSERT_TRUE(window->OpenFile(example));
    EXPECT_EQ(window->windowTitle(), "Vantrel  ( TC_K_0-1000C_4-20mA.D70 )");
    EXPECT_FALSE(window->form().state().ConfigChanged);

    // A damaged file is refused with a message and changes nothing.
    const std::filesystem::path damaged = AppFolder() / "short.D70";
    std::ofstream(damaged) << "too short";
    EXPECT_FALSE(window->OpenFile(damaged.string()));
    EXPECT_EQ(env->dialogs().countShown(174), 1);
    EXPECT_EQ(window->windowTitle(), "Vantrel  ( TC_K_0-1000C_4-20mA.D70 )");
}

TEST_F(MainWindowTest, SmallCommands_HelpCalibrationPortsAndFullScreen) {
    Start();
    Load();

    // Help: a clear message while the guide is missing, the system's viewer once it is there.
    window->menuItem("guida")->trigger();
    ASSERT_EQ(env->dialogs().countShown(resources::text::kHelpNotFound), 1);
    EXPECT_TRUE(Has(env->dialogs().shown().back().text, "MT_ENG_VANTREL30300.pdf"));
    std::ofstream(AppFolder() / "MT_ENG_VANTREL30300.pdf") << "%PDF";
    window->menuItem("guida")->trigger();
    ASSERT_EQ(env->openedDocuments().size(), 1u);
    EXPECT_TRUE(env->openedDocuments()[0].endsWith("MT_ENG_VANTREL30300.pdf"));

    // Calibration and Characters: a beep and the fixed Italian text, in both languages.
    window->menuItem("taratura")->trigger();
    window->menuItem("caratteri")->trigger();
    EXPECT_EQ(env->beeps(), 2);
    EXPECT_EQ(env->dialogs().shown().back().text, "In questa versione non è disponibile");

    // The port window: OK without another port reloads nothing.
    onWindow = [](QWidget* shown) {
        auto* list = shown->findChild<QComboBox*>("doorsList");
        EXPECT_EQ(list->currentText(), "Simulated transmitter");
        static_cast<QDialog*>(shown)->accept();
    };
    window->menuItem("porte")->trigger();
    EXPECT_EQ(Seen("doors"), 1);
    EXPECT_EQ(Seen("TentConn"), 1);

    // Programming/Measure swaps the option frames and the measurement display.
    const bool optionsVisible = window->form().optionsPage().visible;
    window->menuItem("progmisura")->trigger();
    EXPECT_NE(window->form().optionsPage().visible, optionsVisible);
    EXPECT_NE(window->form().measurementPage().visible, window->form().optionsPage().visible);

    // Nothing measured: no enlarged display to open.
    onWindow = nullptr;
    EXPECT_FALSE(window->toolKey("txrx")->isEnabled());
    window->ShowFullScreen();
    EXPECT_EQ(window->largeDisplay(), nullptr);
}

TEST_F(MainWindowTest, TheFormsTripsAndPointsWindows_OpenOverTheMainWindow) {
    Start();
    Load();
    QTest::mouseClick(Child<QRadioButton>("Modo1"), Qt::LeftButton);
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
    QTest::mouseClick(Child<QPushButton>("Soglie"), Qt::LeftButton);
    closeNextModal();
    Child<QCheckBox>("Custom")->click();
    EXPECT_EQ(opened, (std::vector<QString>{"vantrel::widgets::TripsDialog", "vantrel::widgets::PointsEditorDialog"}));
    EXPECT_FALSE(window->form().customCurve().checked);  // the editor was cancelled
}
