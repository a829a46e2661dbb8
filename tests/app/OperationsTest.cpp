// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The long operations of the desktop program as the technician follows and stops them: the
// real main window offscreen, the in-process simulator on the virtual clock. Cancel is
// pressed when the simulator takes a chosen command, so every case is exact.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <functional>

#include "AppFixture.h"
#include "resources/StringTable.h"
#include "ui/widgets/LargeDisplayWindow.h"
#include "ui/widgets/OperationBar.h"
#include "ui/widgets/ProgramWindow.h"

using namespace vantrel;
using namespace vantrel::app;
using Kind = sim::Command::Kind;

namespace {

constexpr const char* kFakePort = "/dev/ttyFAKE0";

// What the technician sees of the form, and whether the transmitter is back at work.
struct Screen {
    std::string summary;
    std::string model;
    bool connected = false;
    bool startOffered = false;
    std::string port;
    friend bool operator==(const Screen&, const Screen&) = default;
};

class OperationsTest : public app::test::AppTest {
public:
    void StartOn(bool fakePortFirst) {
        Start({}, [fakePortFirst](SimulatedEnvironment& e) {
            if (!fakePortFirst) return;
            e.services().ports.entries = {link::PortEntry{1, kFakePort, "Fake", true, false, true}};
            e.services().ports.currentPort = 1;
            e.services().initialPort = kFakePort;
        });
    }
    Screen Look() const {
        return {Child<QPlainTextEdit>("summary")->toPlainText().toStdString(),
                Child<QWidget>("modelText")->property("text").toString().toStdString(), window->form().deviceConnected(),
                window->toolKey("start")->isEnabled(), window->currentPort()};
    }
    // Presses Cancel when the simulator takes the n-th command of a kind from now on.
    void CancelAt(Kind kind, int n) {
        env->transmitter().setCommandListener([this, kind, n, count = 0](const sim::Command& c) mutable {
            if (c.kind == kind && ++count == n) window->operationBar()->cancelButton()->click();
        });
    }
    bool Working() { return !env->transmitter().streaming() && !env->transmitter().programmingMode(); }
};

}  // namespace

// Cancel during every long operation: the operation stops within a pass of the protocol, the
// transmitter is back in working mode with nothing written, and the form is as it was.
TEST_F(OperationsTest, CancelDuringEachLongOperation_LeavesTheFormAndTheTransmitterAsTheyWere) {
    struct Row {
        const char* operation;
        bool fakePortFirst;
        bool programmingMode;  // the form in programming mode before the operation
        std::function<void(OperationsTest&)> run;
        Kind cancelAt;
        int nth;
        const char* windowNotOpened;  // the window the operation would have ended in
    };
    const auto click = [](const char* name) {
        return [name](OperationsTest& t) { QTest::mouseClick(t.Child<QAbstractButton>(name), Qt::LeftButton); };
    };
    // Opens a window with `show`, does `step` in it when it is shown, and accepts it.
    const auto inWindow = [](void (MainWindow::*show)(), std::function<void(QWidget*)> step) {
        return [show, step](OperationsTest& t) {
            t.onWindow = [&t, step](QWidget* shown) {
                t.onWindow = nullptr;
                step(shown);
                static_cast<QDialog*>(shown)->accept();
            };
            (t.window.get()->*show)();
        };
    };
    const Row rows[] = {
        {"connect key, connection test", false, false,
         [](OperationsTest& t) { t.window->toolKey("connect")->trigger(); }, Kind::StartStream, 1, ""},
        {"connect key, read", false, false, [](OperationsTest& t) { t.window->toolKey("connect")->trigger(); },
         Kind::Read, 9, ""},
        {"port change", true, false,
         inWindow(&MainWindow::ShowPorts,
                  [](QWidget* w) { w->findChild<QComboBox*>("doorsList")->setCurrentIndex(1); }),  // the simulator
         Kind::Read, 3, ""},
        {"start of a measurement", false, false, click("actionButton"), Kind::Read, 4, ""},
        {"compare", false, false, [](OperationsTest& t) { t.window->CompareWithTransmitter(); }, Kind::Read, 5,
         "Compare"},
        {"preview's calibration read", false, true, [](OperationsTest& t) { t.window->ShowPreview(); }, Kind::Read, 2,
         "PreviewDialog"},
        {"serial-number read", false, false,
         inWindow(&MainWindow::ShowSerialNumber, [](QWidget* w) { w->findChild<QPushButton*>("cmd_leggiserial")->click(); }),
         Kind::Read, 2, ""},
        {"programming, before the writes", false, true, click("actionButton"), Kind::Read, 3, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.operation);
        StartOn(row.fakePortFirst);
        window->LoadProgramWindow();
        if (row.programmingMode) Click("programmingOption");
        const Screen before = Look();
        // A window the operation should not have reached is noted and closed.
        onWindow = [](QWidget* shown) {
            if (auto* dialog = qobject_cast<QDialog*>(shown)) dialog->reject();
        };
        const sim::Memory::Cells memory = env->transmitter().memory().cells();
        const std::size_t saidBefore = env->dialogs().shown().size();
        seen.clear();
        CancelAt(row.cancelAt, row.nth);
        row.run(*this);
        env->transmitter().setCommandListener({});

        EXPECT_TRUE(Working());
        EXPECT_EQ(env->transmitter().memory().cells(), memory);
        EXPECT_EQ(Look(), before);
        EXPECT_FALSE(window->deviceBusy());
        EXPECT_FALSE(window->operationBar()->isVisible());
        EXPECT_EQ(Seen(row.windowNotOpened), 0);
        // Nothing was said but "nothing written" after a stopped programming.
        for (std::size_t i = saidBefore; i < env->dialogs().shown().size(); ++i)
            EXPECT_EQ(env->dialogs().shown()[i].textId, resources::text::kProgrammingNotDone)
                << env->dialogs().shown()[i].text;
        TearDown();
    }
}

// At start-up there is no form to go back to: a cancelled loading leaves the window without
// a transmitter, as a cancelled connection test does.
TEST_F(OperationsTest, CancelAtStartUp_LeavesTheWindowWithoutATransmitter) {
    Start();
    CancelAt(Kind::Read, 5);
    window->LoadProgramWindow();
    EXPECT_TRUE(Working());
    EXPECT_EQ(Look().model, "Device not connected");
    EXPECT_TRUE(window->toolKey("connect")->isEnabled());
}

// Once the first "$W" has gone out Cancel asks first: No lets the programming finish, Yes
// stops it, and the transmitter's configuration is then unknown (written, not confirmed):
// the program says so and offers a fresh read, which runs the whole loading again.
TEST_F(OperationsTest, CancelDuringTheWrites_AsksFirst_YesLeavesItWrittenNotConfirmed) {
    Start();
    window->LoadProgramWindow();
    Click("programmingOption");
    env->dialogs().answer(link::Answer::No);
    CancelAt(Kind::Write, 10);
    Click("actionButton");
    EXPECT_EQ(env->dialogs().shown().at(1).textId, resources::text::kProgrammingDone);
    const int all = env->transmitter().writesTaken();

    env->dialogs().answer(link::Answer::Yes).answer(link::Answer::Yes);  // stop; read again
    CancelAt(Kind::Write, 10);
    seen.clear();
    Click("actionButton");
    EXPECT_TRUE(Working());
    EXPECT_EQ(env->transmitter().writesTaken(), all + 10);
    ASSERT_EQ(env->dialogs().shown().size(), 4u);
    EXPECT_EQ(env->dialogs().shown()[3].textId, resources::text::kNotConfirmed);
    EXPECT_EQ(Seen("TentConn"), 1);
    EXPECT_TRUE(window->form().deviceConnected());
}

// One indicator per operation: it only moves forward, says the step in words and reaches
// 100 % only when the operation has ended; the time left comes down from the line's pauses.
TEST_F(OperationsTest, Progress_MovesForwardInWordsAndIsWholeOnlyAtTheEnd) {
    Start();
    for (const bool programming : {false, true}) {
        SCOPED_TRACE(programming ? "programming" : "loading");
        std::vector<int> values, secondsLeft;
        std::vector<QString> steps;
        widgets::OperationBar* bar = window->operationBar();
        const QMetaObject::Connection followed = QObject::connect(bar->bar(), &QProgressBar::valueChanged, [&](int v) {
            if (!bar->isVisible()) return;
            values.push_back(v);
            steps.push_back(bar->stepLabel()->text());
            secondsLeft.push_back(bar->timeLabel()->text().split(' ').value(1).toInt());
        });
        if (programming) {
            Click("programmingOption");
            Click("actionButton");
        } else {
            window->LoadProgramWindow();
        }
        QObject::disconnect(followed);
        ASSERT_GT(values.size(), 20u);
        EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
        EXPECT_EQ(values.back(), widgets::OperationBar::kBarSteps);
        EXPECT_LT(values[values.size() - 2], widgets::OperationBar::kBarSteps);
        EXPECT_TRUE(std::is_sorted(secondsLeft.rbegin(), secondsLeft.rend()));
        EXPECT_NE(std::find(steps.begin(), steps.end(), programming ? "writing the configuration" : "testing the connection"),
                  steps.end());
    }
}

// The enlarged display: nothing to open before a value; then a full-screen window whose digits
// grow with it, with unit and lamps; a value older than 2 s greyed; Escape leaves it. Stop is
// offered only while something runs.
TEST_F(OperationsTest, EnlargedDisplay_ScalesWithItsWindow_GreysAStaleValue_EscapeLeaves) {
    Start();
    window->LoadProgramWindow();
    EXPECT_FALSE(window->toolKey("stop")->isEnabled());
    window->ShowFullScreen();
    EXPECT_EQ(window->largeDisplay(), nullptr);

    int readings = 0;
    std::vector<int> digits;
    QObject::connect(window->programWindow(), &widgets::ProgramWindow::formChanged, window.get(), [&] {
        if (window->form().display().empty() || readings < 0) return;
        if (++readings == 3) {
            EXPECT_TRUE(window->toolKey("stop")->isEnabled());
            EXPECT_FALSE(window->toolKey("connect")->isEnabled());  // no second exchange meanwhile
            window->toolKey("txrx")->trigger();
            widgets::LargeDisplayWindow* display = window->largeDisplay();
            ASSERT_NE(display, nullptr);
            EXPECT_TRUE(display->isFullScreen());
            EXPECT_NEAR(display->value().toDouble(), 25, 1);
            display->Open(false);
            for (const QSize size : {QSize(400, 240), QSize(900, 420), QSize(1600, 900)}) {
                display->resize(size);
                QApplication::processEvents();
                digits.push_back(display->digitPixelSize());
            }
            // No frame for more than two seconds: the value is greyed, not frozen.
            env->virtualClock().advance(2.5);
            window->programWindow()->RefreshStaleness();
            EXPECT_TRUE(display->stale());
        }
        if (readings == 4) {
            EXPECT_FALSE(window->largeDisplay()->stale());
        }
        if (readings == 5) {
            QTest::keyClick(window->largeDisplay(), Qt::Key_Escape);
            EXPECT_FALSE(window->largeDisplay()->isVisible());
            readings = -1;
            Click("stopButton");
        }
    });
    Click("actionButton");
    ASSERT_EQ(digits.size(), 3u);
    EXPECT_TRUE(digits[0] < digits[1] && digits[1] < digits[2]) << digits[0] << " " << digits[1] << " " << digits[2];
    EXPECT_GE(digits[2], 200);  // about 5 cm on a common monitor: readable from three metres
    EXPECT_FALSE(window->toolKey("stop")->isEnabled());
    EXPECT_TRUE(window->toolKey("connect")->isEnabled());
    EXPECT_FALSE(env->transmitter().streaming());  // "SM" went out
}
