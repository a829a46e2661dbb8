// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program on a laptop: no serial port at all, adapters plugged in and out, recent
// files, a dropped file, the window's geometry and Qt's own texts in the program's language.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>

#include "AppFixture.h"
#include "app/AppOptions.h"
#include "app/QtTranslations.h"
#include "resources/StringTable.h"
#include "ui/widgets/RangeControlWidget.h"

using namespace vantrel;
using namespace vantrel::app;

namespace {

constexpr int kNoPortText = 82;

class Desktop : public app::test::AppTest {
protected:
    void StartWith(bool simulatorAsPort) {
        SimulatedSetup setup;
        setup.simulatorAsPort = simulatorAsPort;
        Start(setup);
    }
    int Shown(int textId) const { return env->dialogs().countShown(textId); }
    // Closes the next modal window (the preview) once it is up.
    static void CloseNextModal(QString& seen) {
        QTimer::singleShot(0, [&seen] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                seen = modal->objectName();
                static_cast<QDialog*>(modal)->reject();
            }
        });
    }
};

ListedPort SimulatorAdapter() {
    ListedPort port;
    port.info.name = kSimulatorPortName;
    port.info.description = "USB adapter";
    return port;
}

}  // namespace

TEST_F(Desktop, NoSerialPortAtAll_SaysSoOnceAndStaysOpenWithAUsableForm) {
    StartWith(false);
    window->LoadProgramWindow();
    EXPECT_EQ(Shown(kNoPortText), 1);
    EXPECT_TRUE(window->toolKey("connect")->isEnabled());

    // Edit, save, preview and the report work without a transmitter.
    widgets::RangeControlWidget* range = window->programWindow()->rangeIn();
    range->maxBox()->selectAll();
    QTest::keyClicks(range->maxBox(), "500");
    ASSERT_TRUE(range->Leave().accepted);
    env->fileDialogs().names = {(AppFolder() / "offline.D70").string(), (AppFolder() / "offline.pdf").string()};
    window->FileSaveAs();
    EXPECT_TRUE(std::filesystem::exists(AppFolder() / "offline.D70"));
    window->FileExportPdf();
    EXPECT_GT(std::filesystem::file_size(AppFolder() / "offline.pdf"), 1000u);
    QString preview;
    CloseNextModal(preview);
    window->programWindow()->findChild<QPushButton*>("Preview")->click();
    EXPECT_EQ(preview, "PreviewDialog");

    // "connect" looks for ports again: still none.
    window->toolKey("connect")->trigger();
    EXPECT_EQ(Shown(kNoPortText), 2);

    // An adapter plugged in shows at once and "connect" uses it.
    env->systemPorts() = {SimulatorAdapter()};
    ASSERT_TRUE(window->portWatcher()->Poll());
    EXPECT_EQ(window->currentPort(), kSimulatorPortName);
    window->toolKey("connect")->trigger();
    EXPECT_NE(Summary().find("Thermocouple Type K"), std::string::npos) << Summary();

    // Pulled out again: said at once.
    env->systemPorts().clear();
    ASSERT_TRUE(window->portWatcher()->Poll());
    EXPECT_EQ(Shown(resources::text::kPortVanished), 1);
    EXPECT_EQ(env->dialogs().shown().size(), 3u);  // nothing else was said
}

TEST_F(Desktop, RecentFilesDroppedFilesGeometry_AreKeptForTheNextRun) {
    StartWith(true);
    window->LoadProgramWindow();
    // The first size fits a 1366x768 screen with room for a panel and the title bar, and both
    // pages of the form fit in it without scrolling (the offscreen screen is smaller still).
    EXPECT_LE(MainWindow::DefaultSize().height(), 768 - 80);
    window->resize(MainWindow::DefaultSize());
    auto* area = window->findChild<QScrollArea*>("ProgramArea");
    for (const ui::Mode mode : {ui::Mode::Measure, ui::Mode::Programming}) {
        window->form().ChooseMode(mode);
        QApplication::processEvents();
        EXPECT_FALSE(area->verticalScrollBar()->isVisible()) << static_cast<int>(mode);
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << static_cast<int>(mode);
    }
    if (qEnvironmentVariableIsSet("VANTREL_TEST_PICTURE")) window->grab().save(qgetenv("VANTREL_TEST_PICTURE"));

    const std::filesystem::path example = std::filesystem::path(VANTREL_EXAMPLES_DIR) / "TC_K_0-1000C_4-20mA.D70";
    const std::filesystem::path copy = AppFolder() / "copy.D70";
    std::filesystem::copy_file(example, copy);
    ASSERT_TRUE(window->OpenFile(example.string()));

    // A .D70 dropped on the window is opened; anything else is not taken.
    QMimeData text;
    text.setUrls({QUrl::fromLocalFile("/tmp/notes.txt")});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(copy.string()))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    QApplication::processEvents();
    EXPECT_EQ(window->form().state().CurrentFile, copy.string());

    // Newest first; a file gone since is said and dropped from the list.
    QList<QAction*> items = window->recentFilesMenu()->actions();
    ASSERT_GE(items.size(), 2);
    EXPECT_TRUE(items[1]->text().endsWith("TC_K_0-1000C_4-20mA.D70"));
    std::filesystem::remove(copy);
    window->recentFilesMenu()->actions()[0]->trigger();
    EXPECT_EQ(Shown(resources::text::kFileGone), 1);
    EXPECT_EQ(env->preferences().recentFiles().size(), 1);

    // Geometry: what the window had when it closed comes back.
    window->resize(1000, 600);
    window->FileExit();  // asks about unsaved changes: No
    window = env->MakeMainWindow();
    EXPECT_EQ(window->size(), QSize(1000, 600));
}

TEST(QtTranslations, QtsOwnButtonsFollowTheLanguage) {
    QtTranslations translations;
    if (!translations.Apply(0)) GTEST_SKIP() << "qtbase_it.qm (qt6-translations-l10n) is not installed";
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Annulla");
    translations.Apply(1);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
}
