// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The history in the desktop program, offscreen on the in-process simulator: a past
// configuration is restored from the History window and programmed again.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "AppFixture.h"
#include "history/Store.h"
#include "resources/StringTable.h"
#include "ui/widgets/CompareDialog.h"
#include "ui/widgets/HistoryWindow.h"
#include "ui/widgets/RangeControlWidget.h"

using namespace vantrel;
using namespace vantrel::app;

namespace {

std::string Text(const QWidget* widget) {
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(widget)) return edit->toPlainText().toStdString();
    return qobject_cast<const QLabel*>(widget)->text().toStdString();
}

using HistoryWindow = app::test::AppTest;

}  // namespace

// Also the programming of the form by clicking and typing, as the technician does it.
TEST_F(HistoryWindow, APastConfigurationIsRestoredFromTheHistoryAndProgrammed) {
    SimulatedSetup setup;
    setup.historyFile = AppFolder() / "history.sqlite";
    setup.fallbackAnswer = link::Answer::Yes;
    Start(setup);

    // Entry 1: the first read, type K 0..1000 °C.
    window->LoadProgramWindow();
    ASSERT_TRUE(Has(Summary(), "Thermocouple Type K")) << Summary();
    EXPECT_EQ(Text(window->historyNote()), "Never seen before");

    // Entry 2: type J 0..400 programmed through the form.
    Click("programmingOption");
    auto* tipo = Child<QComboBox>("thermocoupleTypes");
    tipo->setFocus();
    QTest::keyClick(tipo, Qt::Key_Down);  // type K -> type J
    widgets::RangeControlWidget* range = window->programWindow()->rangeIn();
    range->maxBox()->selectAll();
    QTest::keyClicks(range->maxBox(), "400");
    ASSERT_TRUE(range->Leave().accepted);
    Click("actionButton");
    ASSERT_TRUE(Has(Summary(), "Thermocouple Type J")) << Summary();

    // Entry 3: read again; the transmitter holds what entry 2 left in it.
    window->LoadProgramWindow();
    EXPECT_TRUE(Has(Text(window->historyNote()), "configuration unchanged")) << Text(window->historyNote());

    // In the History window: entries 1 and 2 side by side, then entry 1 into the form.
    int differing = -1;
    std::string details;
    window->SetWindowObserver([&](QWidget* shown) {
        if (auto* compare = qobject_cast<widgets::CompareDialog*>(shown)) {
            differing = compare->verdict()->text().isEmpty() ? -1 : 0;
            for (int row = 0; row < compare->table()->rowCount(); ++row)
                if (compare->table()->item(row, 0)->text().startsWith(QStringLiteral("≠"))) ++differing;
            compare->accept();
            return;
        }
        auto* history = qobject_cast<widgets::HistoryWindow*>(shown);
        if (!history) return;
        ASSERT_EQ(history->table()->rowCount(), 3);
        history->Select({1, 2});
        history->compareButton()->click();
        history->Select({1});
        details = Text(history->details());
        history->loadButton()->click();
    });
    window->OpenHistory();
    EXPECT_GE(differing, 2);  // the thermocouple type and the range's top
    EXPECT_TRUE(Has(details, "Operation: read")) << details;
    EXPECT_EQ(window->form().thermocoupleTypes().selected, 0);
    EXPECT_EQ(window->form().inputRange().maxText(), "1000");

    // The usual Program writes it into the transmitter again.
    Click("programmingOption");
    Click("actionButton");
    EXPECT_TRUE(Has(Summary(), "Input Range: 0 to 1000")) << Summary();
    // Only entry 2 was told that the profile's trips (800) lie outside 0..400.
    EXPECT_EQ(env->dialogs().countShown(resources::text::kTripsOutsideRange), 1);
    EXPECT_EQ(env->dialogs().shown().size(), 3u);

    window->historyRecorder()->Flush();
    std::string problem;
    history::Connection connection;
    connection.file = *setup.historyFile;
    const std::unique_ptr<history::Store> store = history::Store::Open(connection, problem);
    ASSERT_TRUE(store) << problem;
    const std::vector<history::Entry> entries = store->List({});
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[3].operation, "program");
    EXPECT_TRUE(store->Check().intact());
}
