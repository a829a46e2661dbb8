// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/PointsEditorDialog.h"
#include "ui/widgets/ChartAxes.h"
#include "ui/widgets/CvdDialog.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QLineSeries>
#include <QScatterSeries>
#include <QCategoryAxis>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "files/FileAccess.h"
#include "files/SafeWrite.h"
#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::widgets {

using ui::PointsBox;
using ui::PointsPage;

namespace {

constexpr int kRowsPerBlock = 15;  // the sensor rows stand in two blocks side by side
constexpr int kFahrenheitFlag = 8;

QString Text(int id, int offset) { return QString::fromStdString(resources::Text(id, offset)); }

QLabel* HeaderLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

namespace text = resources::text;
constexpr std::size_t kLargestCsv = 1 << 20;  // a points table is a few hundred bytes

}  // namespace

ui::PointsEditorResult PointsEditorDialog::Run(device::WorkingState& working, const ui::PointsEditorRequest& request,
                                               link::Dialogs& dialogs, QWidget* parent) {
    ui::PointsEditor editor(working, request.coldJunctionPage, request.encoding.optionFlags);
    editor.Open();
    PointsEditorDialog dialog(editor, request, dialogs, working.LanguageOffset(), parent);
    dialog.exec();
    return dialog.Result();
}

PointsEditorDialog::PointsEditorDialog(ui::PointsEditor& editor, const ui::PointsEditorRequest& request,
                                       link::Dialogs& dialogs, int languageOffset, QWidget* parent)
    : QDialog(parent), m_editor(editor), m_dialogs(dialogs), m_language(languageOffset) {
    setObjectName("PointsEditor");
    setWindowTitle(QString::fromStdString(request.title).trimmed());

    auto* heading = new QLabel(QString::fromStdString(request.title).trimmed(), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.15);
    heading->setFont(headingFont);

    const QString physicalHeader =
        Text(resources::text::kPhysical, m_language) +
        (request.physicalUnit.empty() ? QString() : " (" + QString::fromStdString(request.physicalUnit) + ")");
    const QString inputHeader = QString::fromStdString(request.inputUnit);
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(BuildPage(m_sensor, PointsPage::Sensor, m_editor.MaxPoints(), physicalHeader),
                   Text(resources::text::kSensorPage, m_language));
    m_inputHeader = inputHeader;
    m_physicalHeader = physicalHeader;
    if (m_editor.HasColdJunctionPage()) {
        const bool fahrenheit = (request.encoding.optionFlags & kFahrenheitFlag) != 0;
        const QString cjcHeader = fahrenheit ? QStringLiteral("Temp.IN -4/158°F") : QStringLiteral("Temp.IN -20/70°C");
        m_cjcHeader = cjcHeader;
        m_tabs->addTab(BuildPage(m_cjc, PointsPage::ColdJunction, device::kMaxCjcPoints, cjcHeader),
                       QString::fromStdString(request.coldJunctionTitle));
    }
    // Column headers of the input values name the unit the transmitter measures.
    for (Page* page : {&m_sensor, &m_cjc})
        for (QLabel* label : page->widget ? page->widget->findChildren<QLabel*>("inputHeader") : QList<QLabel*>{})
            label->setText(inputHeader);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName("guideOk");
    m_ok->setDefault(false);
    m_ok->setAutoDefault(false);
    m_cancel = new QPushButton(QString::fromStdString(request.cancelCaption.empty() ? resources::Text(text::kCancel, m_language)
                                                                                     : request.cancelCaption),
                               this);
    m_cancel->setObjectName("cmdCancel");
    m_cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);
    layout->addWidget(heading);
    auto* body = new QHBoxLayout;
    body->addWidget(m_tabs, 1);
    body->addWidget(BuildMatching());
    layout->addLayout(body);
    // Leaving a page takes the count typed there (the tabs take no focus, so no focus-out
    // would), and the plot follows the page.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this] {
        for (PointsPage which : {PointsPage::Sensor, PointsPage::ColdJunction}) {
            const Page& page = PageOf(which);
            if (page.widget && page.count->text().toStdString() !=
                                   (which == PointsPage::Sensor ? m_editor.SensorCountText() : m_editor.CjcCountText()))
                EnterCount(which);
        }
        RefreshPlot();
    });
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &PointsEditorDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &PointsEditorDialog::reject);
    RefreshRows();
    // Start as small as the shown rows allow; the window grows when more rows are asked for.
    // (once shown: before that the hidden rows still count in the size hints).
    QTimer::singleShot(0, this, [this] {
        resize(std::max(minimumSizeHint().width(), 900), minimumSizeHint().height() + 24);
    });
}

QWidget* PointsEditorDialog::BuildPage(Page& page, PointsPage which, int rows, const QString& physicalHeader) {
    page.widget = new QWidget;
    page.widget->setObjectName(which == PointsPage::Sensor ? "SensorPage" : "ColdJunctionPage");
    auto* countLabel = new QLabel(Text(resources::text::kPointCountField, m_language), page.widget);
    page.count = new QLineEdit(page.widget);
    page.count->setObjectName("count");
    page.count->setFixedWidth(60);
    page.count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    page.count->installEventFilter(this);
    // A whole count the page can hold is taken as soon as it is typed: its rows appear at once.
    connect(page.count, &QLineEdit::textEdited, this, [this, which, rows](const QString& typed) {
        bool whole = false;
        const int count = typed.trimmed().toInt(&whole);
        if (whole && count >= device::kMinPoints && count <= rows && QString::number(count) == typed.trimmed())
            EnterCount(which);
    });
    countLabel->setBuddy(page.count);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(countLabel);
    countRow->addWidget(page.count);
    countRow->addStretch();

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    const int blocks = rows > kRowsPerBlock ? 2 : 1;
    for (int b = 0; b < blocks; ++b) {
        const int column = b * 4;
        QLabel* rowHeader = HeaderLabel(Text(resources::text::kPointsField, m_language), page.widget);
        QLabel* inputHeader = HeaderLabel({}, page.widget);
        inputHeader->setObjectName("inputHeader");
        QLabel* physical = HeaderLabel(physicalHeader, page.widget);
        grid->addWidget(rowHeader, 0, column);
        grid->addWidget(inputHeader, 0, column + 1);
        grid->addWidget(physical, 0, column + 2);
        if (b == 1) page.secondHeaders = {rowHeader, inputHeader, physical};
        if (b == 0 && blocks == 2) grid->setColumnMinimumWidth(3, 28);
    }
    page.rows.resize(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        Row& row = page.rows[static_cast<std::size_t>(i)];
        const int gridRow = 1 + i % kRowsPerBlock;
        const int column = (i / kRowsPerBlock) * 4;
        row.label = new QLabel(QString::number(i + 1), page.widget);
        row.label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row.input = new QLineEdit(page.widget);
        row.physical = new QLineEdit(page.widget);
        for (QLineEdit* box : {row.input, row.physical}) {
            box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            box->setFixedWidth(110);
            box->installEventFilter(this);
        }
        row.input->setObjectName(QString("input%1").arg(i));
        row.physical->setObjectName(QString("physical%1").arg(i));
        grid->addWidget(row.label, gridRow, column);
        grid->addWidget(row.input, gridRow, column + 1);
        grid->addWidget(row.physical, gridRow, column + 2);
        const auto edited = [this, which, i](PointsBox box) {
            return [this, which, i, box](const QString& text) { m_editor.SetText(which, i, box, text.toStdString()); };
        };
        connect(row.input, &QLineEdit::textEdited, this, edited(PointsBox::Input));
        connect(row.physical, &QLineEdit::textEdited, this, edited(PointsBox::Physical));
        connect(row.input, &QLineEdit::textChanged, this, [this] { RefreshPlot(); });
        connect(row.physical, &QLineEdit::textChanged, this, [this] { RefreshPlot(); });
    }
    // Tab goes along a row, then to the next row.
    QWidget* previous = page.count;
    for (const Row& row : page.rows) {
        QWidget::setTabOrder(previous, row.input);
        QWidget::setTabOrder(row.input, row.physical);
        previous = row.physical;
    }

    grid->setColumnStretch(blocks * 4, 1);
    auto* layout = new QVBoxLayout(page.widget);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addLayout(countRow);
    layout->addLayout(grid);
    layout->addStretch();
    return page.widget;
}

void PointsEditorDialog::RefreshRows() {
    const auto setText = [](QLineEdit* box, const std::string& text) {
        const QString value = QString::fromStdString(text);
        if (box->text() != value) box->setText(value);
    };
    setText(m_sensor.count, m_editor.SensorCountText());
    m_refreshingRows = true;  // one plot for the whole table, not one per box
    for (int i = 0; i < static_cast<int>(m_sensor.rows.size()); ++i) {
        Row& row = m_sensor.rows[static_cast<std::size_t>(i)];
        const bool shown = m_editor.SensorRowShown(i);
        const bool added = m_editor.SensorRowIsAddedPoint(i);
        setText(row.input, m_editor.SensorRow(i).input);
        setText(row.physical, m_editor.SensorRow(i).physical);
        // The added point keeps its row (label greyed) while its boxes are hidden.
        for (QLineEdit* box : {row.input, row.physical}) {
            QSizePolicy policy = box->sizePolicy();
            policy.setRetainSizeWhenHidden(added);
            box->setSizePolicy(policy);
        }
        row.label->setVisible(shown);
        row.input->setVisible(shown && !added);
        row.physical->setVisible(shown && !added);
        // The added point is the editor's own: its label is greyed and its boxes hidden.
        row.label->setStyleSheet(added ? "color: #9a9a9a; font-style: italic;" : QString());
        row.label->setToolTip(added ? QStringLiteral("+") : QString());
    }
    m_refreshingRows = false;
    RefreshPlot();
    // The second block's headers stand only over rows that are shown.
    for (QLabel* header : m_sensor.secondHeaders) header->setVisible(m_editor.SensorPoints() > kRowsPerBlock);
    if (!m_cjc.widget) return;
    setText(m_cjc.count, m_editor.CjcCountText());
    for (int i = 0; i < static_cast<int>(m_cjc.rows.size()); ++i) {
        Row& row = m_cjc.rows[static_cast<std::size_t>(i)];
        const bool shown = i < m_editor.CjcPoints();
        setText(row.input, m_editor.CjcRow(i).input);
        setText(row.physical, m_editor.CjcRow(i).physical);
        row.label->setVisible(shown);
        row.input->setVisible(shown);
        row.physical->setVisible(shown);
    }
}

bool PointsEditorDialog::EnterCount(PointsPage which) {
    if (m_refusing) return false;
    const std::string text = PageOf(which).count->text().toStdString();
    const auto refusal =
        which == PointsPage::Sensor ? m_editor.EnterSensorCount(text) : m_editor.EnterCjcCount(text);
    RefreshRows();
    if (refusal) {
        ShowRefusal(*refusal);
        return false;
    }
    return true;
}

void PointsEditorDialog::ShowRefusal(const ui::PointsRefusal& refusal) {
    m_refusing = true;
    link::Message message;
    message.textId = refusal.textId;
    message.text = resources::Text(refusal.textId, m_language) + refusal.appended;
    message.buttons = link::Buttons::Ok;
    if (refusal.textId == resources::text::kPointOutOfRange) {
        message.title = resources::Text(resources::text::kProductName, m_language);
        message.titleId = resources::text::kProductName;
    } else {
        message.icon = link::Icon::Exclamation;
    }
    Page& page = PageOf(refusal.page);
    if (page.widget) m_tabs->setCurrentWidget(page.widget);
    m_dialogs.Show(message);
    QLineEdit* box = refusal.box == PointsBox::Count ? page.count : valueBox(refusal.page, refusal.row, refusal.box);
    if (box) {
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
    }
    m_refusing = false;
}

void PointsEditorDialog::accept() {
    if (!EnterCount(PointsPage::Sensor)) return;
    if (m_cjc.widget && !EnterCount(PointsPage::ColdJunction)) return;
    if (const auto refusal = m_editor.Ok()) {
        RefreshRows();
        ShowRefusal(*refusal);
        return;
    }
    m_accepted = true;
    RefreshRows();
    QDialog::accept();
}

void PointsEditorDialog::reject() {
    m_editor.Cancel();
    m_accepted = false;
    QDialog::reject();
}

ui::PointsEditorResult PointsEditorDialog::Result() const {
    ui::PointsEditorResult result;
    result.accepted = m_accepted;
    if (m_accepted) {
        result.rangeMin = m_editor.RangeMinText();
        result.rangeMax = m_editor.RangeMaxText();
    }
    return result;
}

QWidget* PointsEditorDialog::BuildMatching() {
    auto* panel = new QWidget(this);
    panel->setObjectName("SensorMatching");
    auto* chart = new QChart;
    FollowPalette(chart, this);  // before the series: a theme sets their colours
    const bool dark = chart->theme() == QChart::ChartThemeDark;
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    m_plotLine = new QLineSeries;
    m_plotLine->setPen(QPen(dark ? QColor(0x6e, 0xa8, 0xff) : QColor(0x2f, 0x6f, 0xd6), 2));
    m_plotPoints = new QScatterSeries;
    m_plotPoints->setMarkerSize(7);
    m_plotPoints->setColor(dark ? QColor(0xff, 0xa6, 0x4d) : QColor(0xe0, 0x7b, 0x00));
    chart->addSeries(m_plotLine);
    chart->addSeries(m_plotPoints);
    m_plotX = RoundAxis();
    m_plotY = RoundAxis();
    chart->addAxis(m_plotX, Qt::AlignBottom);
    chart->addAxis(m_plotY, Qt::AlignLeft);
    for (QAbstractSeries* series : {static_cast<QAbstractSeries*>(m_plotLine), static_cast<QAbstractSeries*>(m_plotPoints)}) {
        series->attachAxis(m_plotX);
        series->attachAxis(m_plotY);
    }
    m_plot = new QChartView(chart, panel);
    m_plot->setObjectName("PointsPlot");
    m_plot->setRenderHint(QPainter::Antialiasing);
    m_plot->setMinimumSize(300, 240);

    m_import = new QPushButton(Text(text::kPointsImport, m_language), panel);
    m_import->setObjectName("cmdImport");
    m_export = new QPushButton(Text(text::kPointsExport, m_language), panel);
    m_export->setObjectName("cmdExport");
    m_generate = new QPushButton(Text(text::kPointsGenerate, m_language), panel);
    m_generate->setObjectName("cmdGenerate");
    for (QPushButton* b : {m_import, m_export, m_generate}) b->setAutoDefault(false);
    const auto choose = [this](bool forSaving) {
        if (m_chooseFile) return m_chooseFile(forSaving);
        const QString filter = QStringLiteral("CSV (*.csv *.txt);;* (*)");
        return forSaving ? QFileDialog::getSaveFileName(this, m_export->text(), QString(), filter)
                         : QFileDialog::getOpenFileName(this, m_import->text(), QString(), filter);
    };
    connect(m_import, &QPushButton::clicked, this, [this, choose] {
        const QString path = choose(false);
        if (!path.isEmpty()) ImportFrom(path);
    });
    connect(m_export, &QPushButton::clicked, this, [this, choose] {
        const QString path = choose(true);
        if (!path.isEmpty()) ExportTo(path);
    });
    connect(m_generate, &QPushButton::clicked, this, &PointsEditorDialog::AskAndGenerate);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_import);
    buttons->addWidget(m_export);
    buttons->addWidget(m_generate);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_plot, 1);
    layout->addLayout(buttons);
    return panel;
}

bool PointsEditorDialog::ShowingColdJunction() const {
    return m_cjc.widget && m_tabs && m_tabs->currentWidget() == m_cjc.widget;
}

void PointsEditorDialog::RefreshPlot() {
    if (!m_plotLine || m_refreshingRows) return;
    const bool cjc = ShowingColdJunction();
    m_plotX->setTitleText(m_inputHeader);
    m_plotY->setTitleText(cjc ? m_cjcHeader : m_physicalHeader);
    const Page& page = cjc ? m_cjc : m_sensor;
    const int shown = cjc ? m_editor.CjcPoints() : m_editor.UserPoints();
    QList<QPointF> points;
    for (int i = 0; i < shown && i < static_cast<int>(page.rows.size()); ++i) {
        const Row& row = page.rows[static_cast<std::size_t>(i)];
        const auto x = resources::ParseNumber(row.input->text().toStdString());
        const auto y = resources::ParseNumber(row.physical->text().toStdString());
        if (x && y) points.append(QPointF(*x, *y));
    }
    m_plotLine->replace(points);
    m_plotPoints->replace(points);
    if (points.isEmpty()) {
        SetRoundRange(m_plotX, 0, 1, false);
        SetRoundRange(m_plotY, 0, 1, false);
        return;
    }
    double x0 = points.front().x(), x1 = x0, y0 = points.front().y(), y1 = y0;
    for (const QPointF& p : points) {
        x0 = std::min(x0, p.x());
        x1 = std::max(x1, p.x());
        y0 = std::min(y0, p.y());
        y1 = std::max(y1, p.y());
    }
    // Room around the points so that none sits half outside on the frame.
    const double dx = (x1 - x0) * 0.03;
    const double dy = (y1 - y0) * 0.03;
    SetRoundRange(m_plotX, x0 - dx, x1 + dx, false);
    SetRoundRange(m_plotY, y0 - dy, y1 + dy, false);
}

void PointsEditorDialog::ShowMessage(const std::string& text) {
    link::Message message;
    message.text = text;
    message.buttons = link::Buttons::Ok;
    message.icon = link::Icon::Exclamation;
    m_dialogs.Show(message);
}

bool PointsEditorDialog::PutPoints(const std::vector<ui::CsvPoint>& points) {
    if (const auto refusal = ui::PutPointsInEditor(m_editor, points)) {
        ShowRefusal(*refusal);
        return false;
    }
    RefreshRows();
    if (m_sensor.widget) m_tabs->setCurrentWidget(m_sensor.widget);
    return true;
}

bool PointsEditorDialog::ImportFrom(const QString& path) {
    const std::string name = path.toStdString();
    const files::ReadBytes file = files::ReadRegularFile(name, kLargestCsv, true);
    if (!file.ok()) {
        ShowMessage(files::FileProblemMessage(text::kFileNotRead, name, file.problem, m_language));
        return false;
    }
    const ui::CsvPoints read =
        ui::ParsePointsCsv(std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()));
    if (!read.ok()) {
        ShowMessage(resources::Text(text::kCsvInvalidLine, m_language) + resources::Str(read.badLine) + '\n' + name);
        return false;
    }
    return PutPoints(read.points);
}

bool PointsEditorDialog::ExportTo(const QString& path) {
    if (!EnterCount(PointsPage::Sensor)) return false;
    std::vector<ui::CsvPoint> points;
    if (const auto refusal = ui::EditorPoints(m_editor, points)) {
        ShowRefusal(*refusal);
        return false;
    }
    const std::string name = path.toStdString();
    const files::WriteResult written = files::SafeWrite(name, ui::WritePointsCsv(points));
    if (!written.ok()) {
        ShowMessage(files::FileProblemMessage(text::kFileNotWritten, name, written.problem, m_language));
        return false;
    }
    return true;
}

bool PointsEditorDialog::Generate(const math::CvdCoefficients& coefficients, double from, double to, int count) {
    const math::CvdCurve curve = math::GenerateCvdCurve(coefficients, from, to, count, m_editor.MaxPoints());
    switch (curve.problem) {
        case math::CvdProblem::None: break;
        case math::CvdProblem::BadCount:
            ShowMessage(resources::Text(resources::text::kPointCount, m_language) + resources::Str(m_editor.MaxPoints()));
            return false;
        case math::CvdProblem::NotRising:
            ShowMessage(resources::Text(resources::text::kNotRising, m_language));
            return false;
        case math::CvdProblem::BadCoefficients:
        case math::CvdProblem::BadRange:
            ShowMessage(resources::Text(resources::text::kPointOutOfRange, m_language));
            return false;
    }
    std::vector<ui::CsvPoint> points;
    for (const math::CvdPoint& p : curve.points) points.push_back({p.input, p.physical});
    return PutPoints(points);
}

void PointsEditorDialog::AskAndGenerate() {
    CvdDialog ask(m_language, m_editor.MaxPoints(), this);
    while (ask.exec() == QDialog::Accepted) {
        QLineEdit* bad = nullptr;
        const auto coefficients = ask.Coefficients(bad);
        const auto from = ask.From();
        const auto to = ask.To();
        if (!bad && !from) bad = ask.fromBox();
        if (!bad && !to) bad = ask.toBox();
        if (bad) {
            ShowMessage(resources::Text(resources::text::kInvalidFormat, m_language));
            bad->setFocus(Qt::OtherFocusReason);
            bad->selectAll();
            continue;
        }
        if (Generate(*coefficients, *from, *to, ask.Count())) return;
    }
}

QLineEdit* PointsEditorDialog::countBox(PointsPage page) const { return PageOf(page).count; }

QLineEdit* PointsEditorDialog::valueBox(PointsPage page, int row, PointsBox box) const {
    const Page& p = PageOf(page);
    if (row < 0 || row >= static_cast<int>(p.rows.size())) return nullptr;
    const Row& r = p.rows[static_cast<std::size_t>(row)];
    return box == PointsBox::Input ? r.input : box == PointsBox::Physical ? r.physical : p.count;
}

QLabel* PointsEditorDialog::rowLabel(PointsPage page, int row) const {
    const Page& p = PageOf(page);
    if (row < 0 || row >= static_cast<int>(p.rows.size())) return nullptr;
    return p.rows[static_cast<std::size_t>(row)].label;
}

bool PointsEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box) return QDialog::eventFilter(watched, event);
    for (PointsPage which : {PointsPage::Sensor, PointsPage::ColdJunction}) {
        Page& page = PageOf(which);
        if (!page.widget) continue;
        if (box == page.count) {
            if (event->type() == QEvent::KeyPress) {
                auto* key = static_cast<QKeyEvent*>(event);
                const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
                const QString text = key->text();
                const char c = enter ? '\r' : key->key() == Qt::Key_Backspace ? '\b' : text.size() == 1 ? text[0].toLatin1() : 0;
                if (c != 0 && !m_editor.AcceptCountKey(c)) return true;
                if (enter) {
                    if (EnterCount(which)) page.count->selectAll();
                    return true;
                }
            } else if (event->type() == QEvent::FocusOut) {
                // Cancel closes without looking at what was typed.
                if (QApplication::focusWidget() != m_cancel && !m_refusing) EnterCount(which);
            } else if (event->type() == QEvent::MouseButtonPress) {
                // A click selects the count, so that what is typed replaces it.
                QTimer::singleShot(0, box, [box] { box->selectAll(); });
            }
            return QDialog::eventFilter(watched, event);
        }
        for (int i = 0; i < static_cast<int>(page.rows.size()); ++i) {
            Row& row = page.rows[static_cast<std::size_t>(i)];
            if (box != row.input && box != row.physical) continue;
            const PointsBox kind = box == row.input ? PointsBox::Input : PointsBox::Physical;
            if (event->type() == QEvent::FocusOut) {
                m_editor.LeaveValueBox(which, i, kind);
                const auto& r = which == PointsPage::Sensor ? m_editor.SensorRow(i) : m_editor.CjcRow(i);
                const QString text = QString::fromStdString(kind == PointsBox::Input ? r.input : r.physical);
                if (box->text() != text) box->setText(text);
            } else if (event->type() == QEvent::MouseButtonPress) {
                QTimer::singleShot(0, box, [box] { box->selectAll(); });
            } else if (event->type() == QEvent::KeyPress) {
                const int key = static_cast<QKeyEvent*>(event)->key();
                const int next = key == Qt::Key_Down ? i + 1 : key == Qt::Key_Up ? i - 1 : -1;
                if ((key == Qt::Key_Down || key == Qt::Key_Up) && next >= 0 &&
                    next < static_cast<int>(page.rows.size())) {
                    QLineEdit* target = valueBox(which, next, kind);
                    if (target && target->isVisible()) {
                        target->setFocus(Qt::OtherFocusReason);
                        target->selectAll();
                    }
                    return true;
                }
            }
            return QDialog::eventFilter(watched, event);
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace vantrel::widgets
