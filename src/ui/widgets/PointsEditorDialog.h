// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>
#include <vector>

#include "device/WorkingState.h"
#include "link/Dialogs.h"
#include "math/CallendarVanDusen.h"
#include "ui/model/PointsEditor.h"
#include "ui/model/PointsCsv.h"
#include "ui/model/FormHost.h"

class QChartView;
class QLabel;
class QLineEdit;
class QLineSeries;
class QPushButton;
class QScatterSeries;
class QTabWidget;
class QCategoryAxis;

namespace vantrel::widgets {

// The points editor: a sensor page and, for thermocouples with internal compensation, a
// cold-junction page, each with a count box and one row (input, physical) per point, over
// ui::PointsEditor. Refusals are shown through the dialogs; the offending box is selected
// and focused and the editor stays open.
//
// The programming form's host opens it from OpenPointsEditor:
//   return PointsEditorDialog::Run(session.working, request, dialogs, mainWindow);
class PointsEditorDialog : public QDialog {
    Q_OBJECT
public:
    // Runs the editor modally over the working tables (it builds and opens the model) and
    // reports how it was closed; on acceptance the first and last physical values as typed.
    static ui::PointsEditorResult Run(device::WorkingState& working, const ui::PointsEditorRequest& request,
                                      link::Dialogs& dialogs, QWidget* parent = nullptr);

    // The editor over a model that has been opened (PointsEditor::Open) by the caller.
    PointsEditorDialog(ui::PointsEditor& editor, const ui::PointsEditorRequest& request, link::Dialogs& dialogs,
                       int languageOffset, QWidget* parent = nullptr);

    ui::PointsEditorResult Result() const;

    // Widgets, for tests and the screenshot program.
    QLineEdit* countBox(ui::PointsPage page) const;
    QLineEdit* valueBox(ui::PointsPage page, int row, ui::PointsBox box) const;
    QLabel* rowLabel(ui::PointsPage page, int row) const;
    QTabWidget* pages() const { return m_tabs; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* importButton() const { return m_import; }
    QPushButton* exportButton() const { return m_export; }
    QPushButton* generateButton() const { return m_generate; }
    QChartView* plot() const { return m_plot; }

    // Sensor matching. Each refusal is shown through the dialogs and leaves the table as it was.
    // Import: a CSV file (header, input and physical columns) into the sensor page.
    bool ImportFrom(const QString& path);
    // Export: the sensor page's user points to a CSV file, replaced only once complete.
    bool ExportTo(const QString& path);
    // Generate: a characterised platinum sensor's curve, `count` points from `from` to `to` °C.
    bool Generate(const math::CvdCoefficients& coefficients, double from, double to, int count);

    // Where the Import/Export buttons get their file names (a file dialog by default; empty
    // means the user cancelled). Tests and tools put their own.
    using FileChooser = std::function<QString(bool forSaving)>;
    void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

    void accept() override;  // OK: validate, store, close
    void reject() override;  // Cancel: close without storing

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Row {
        QLabel* label = nullptr;
        QLineEdit* input = nullptr;
        QLineEdit* physical = nullptr;
    };
    struct Page {
        QWidget* widget = nullptr;
        QLineEdit* count = nullptr;
        std::vector<Row> rows;
        std::vector<QLabel*> secondHeaders;  // over the rows from 16 on
    };

    QWidget* BuildPage(Page& page, ui::PointsPage which, int rows, const QString& physicalHeader);
    void RefreshRows();
    bool EnterCount(ui::PointsPage which);
    void ShowRefusal(const ui::PointsRefusal& refusal);
    void ShowMessage(const std::string& text);
    QWidget* BuildMatching();
    // Plots the points of the page on show.
    void RefreshPlot();
    bool ShowingColdJunction() const;
    bool PutPoints(const std::vector<ui::CsvPoint>& points);
    void AskAndGenerate();
    Page& PageOf(ui::PointsPage which) { return which == ui::PointsPage::Sensor ? m_sensor : m_cjc; }
    const Page& PageOf(ui::PointsPage which) const { return which == ui::PointsPage::Sensor ? m_sensor : m_cjc; }

    ui::PointsEditor& m_editor;
    link::Dialogs& m_dialogs;
    int m_language;
    bool m_accepted = false;
    bool m_refusing = false;
    Page m_sensor;
    Page m_cjc;
    QTabWidget* m_tabs = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_import = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_generate = nullptr;
    QChartView* m_plot = nullptr;
    QLineSeries* m_plotLine = nullptr;
    QScatterSeries* m_plotPoints = nullptr;
    QCategoryAxis* m_plotX = nullptr;
    QCategoryAxis* m_plotY = nullptr;
    // The plot's axis titles for each page (the cold-junction page plots its own points).
    QString m_inputHeader;
    QString m_physicalHeader;
    QString m_cjcHeader;
    FileChooser m_chooseFile;
    bool m_refreshingRows = false;
};

}  // namespace vantrel::widgets
