// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The measurement page's trend and the Start/Stop logging command, in the real windows
// offscreen over the in-process simulator on the virtual clock.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>

#include <filesystem>
#include <fstream>

#include "AppFixture.h"
#include "resources/StringTable.h"
#include "ui/widgets/ProgramWindow.h"
#include "ui/widgets/TrendChart.h"

using namespace vantrel;
using namespace vantrel::app;

namespace {

class TrendLogging : public app::test::AppTest {
protected:
    void SetUp() override {
        Start();
        window->LoadProgramWindow();
    }

    // Measures until `readings` values were shown; `during` runs at the first one.
    void Measure(int readings, const std::function<void()>& during = {}) {
        int shown = 0;
        const auto connection =
            QObject::connect(window->programWindow(), &widgets::ProgramWindow::formChanged, window.get(), [&] {
                if (window->form().display().empty() || shown < 0) return;
                if (++shown == 1 && during) during();
                if (shown >= readings) {
                    shown = -1;
                    window->ActionStop();
                }
            });
        window->ActionStart();
        QObject::disconnect(connection);
    }
    QPushButton* LogButton() const { return window->programWindow()->logButton(); }
    std::filesystem::path Path(const char* name) const { return AppFolder() / name; }
    static std::size_t LineCount(const std::filesystem::path& path) {
        std::ifstream in(path);
        std::size_t n = 0;
        for (std::string line; std::getline(in, line);) ++n;
        return n;
    }
};

TEST_F(TrendLogging, StartLogging_MeasuredRowsGoToTheFile_StopClosesIt) {
    const std::filesystem::path csv = Path("bench.csv");
    env->fileDialogs().names.push_back(csv.string());
    QTest::mouseClick(LogButton(), Qt::LeftButton);
    ASSERT_NE(window->measurementLog(), nullptr);
    EXPECT_TRUE(LogButton()->text().contains("Stop logging"));
    EXPECT_TRUE(window->programWindow()->findChild<QLabel*>("logLabel")->text().contains("bench.csv"));

    bool stopOfferedWhileMeasuring = false;
    Measure(20, [&] { stopOfferedWhileMeasuring = window->menuItem("registra")->isEnabled(); });
    EXPECT_TRUE(stopOfferedWhileMeasuring);
    EXPECT_EQ(LineCount(csv), 21u);  // header and one row per shown value

    EXPECT_EQ(window->programWindow()->trendChart()->model().size(), 20u);  // the trend holds the run

    window->ToggleLogging();
    EXPECT_EQ(window->measurementLog(), nullptr);
    Measure(5);
    EXPECT_EQ(LineCount(csv), 21u);  // nothing more after Stop
}

TEST_F(TrendLogging, StartIsNotOfferedWhileMeasuring_CancelledDialogStartsNothing) {
    bool startOffered = true;
    Measure(3, [&] {
        startOffered = window->menuItem("registra")->isEnabled() || LogButton()->isEnabled();
        window->ToggleLogging();  // ignored: the file dialog would hold the stream up
    });
    EXPECT_FALSE(startOffered);
    EXPECT_EQ(env->fileDialogs().saved.size(), 0u);

    window->ToggleLogging();  // the queue is empty: the dialog is cancelled
    EXPECT_EQ(env->fileDialogs().saved.size(), 1u);
    EXPECT_EQ(window->measurementLog(), nullptr);
}

TEST_F(TrendLogging, AFileThatCannotBeWritten_SaysSoAndDoesNotLog) {
    env->fileDialogs().names.push_back((Path("missing") / "x.csv").string());
    window->ToggleLogging();
    EXPECT_EQ(window->measurementLog(), nullptr);
    EXPECT_EQ(env->dialogs().countShown(resources::text::kLogNotWritable), 1);
}

}  // namespace
