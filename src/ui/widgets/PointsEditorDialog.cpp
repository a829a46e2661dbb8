#include "ui/widgets/PointsEditorDialog.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "resources/StringTable.h"

namespace vantrel::widgets {

using math::PointsBox;
using math::PointsPage;

namespace {

constexpr int kRowsPerBlock = 15;  // the sensor rows stand in two blocks side by side
constexpr int kTextOutOfRange = 152;
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

}  // namespace

ui::PointsEditorResult PointsEditorDialog::Run(device::WorkingState& working, const ui::PointsEditorRequest& request,
                                               link::Dialogs& dialogs, QWidget* parent) {
    math::PointsEditor editor(working, request.coldJunctionPage, request.encoding.optionFlags);
    editor.Open();
    PointsEditorDialog dialog(editor, request, dialogs, working.LanguageOffset, parent);
    dialog.exec();
    return dialog.Result();
}

PointsEditorDialog::PointsEditorDialog(math::PointsEditor& editor, const ui::PointsEditorRequest& request,
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
        Text(167, m_language) + (request.physicalUnit.empty() ? QString() : " (" + QString::fromStdString(request.physicalUnit) + ")");
    const QString inputHeader = QString::fromStdString(request.inputUnit);
    m_tabs = new QTabWidget(this);
    m_tabs->addTab(BuildPage(m_sensor, PointsPage::Sensor, m_editor.MaxPoints(), physicalHeader), Text(164, m_language));
    if (m_editor.HasColdJunctionPage()) {
        const bool fahrenheit = (request.encoding.optionFlags & kFahrenheitFlag) != 0;
        const QString cjcHeader = fahrenheit ? QStringLiteral("Temp.IN -4/158°F") : QStringLiteral("Temp.IN -20/70°C");
        m_tabs->addTab(BuildPage(m_cjc, PointsPage::ColdJunction, math::kMaxCjcPoints, cjcHeader),
                       QString::fromStdString(request.coldJunctionTitle));
    }
    // Column headers of the input values name the unit the transmitter measures.
    for (Page* page : {&m_sensor, &m_cjc})
        for (QLabel* label : page->widget ? page->widget->findChildren<QLabel*>("inputHeader") : QList<QLabel*>{})
            label->setText(inputHeader);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName("cmdOK");
    m_ok->setDefault(false);
    m_ok->setAutoDefault(false);
    m_cancel = new QPushButton(QString::fromStdString(request.cancelCaption.empty() ? resources::Text(144, m_language)
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
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &PointsEditorDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &PointsEditorDialog::reject);
    RefreshRows();
    // Start as small as the shown rows allow; the window grows when more rows are asked for.
    // (once shown: before that the hidden rows still count in the size hints).
    QTimer::singleShot(0, this, [this] {
        resize(std::max(minimumSizeHint().width(), 560), minimumSizeHint().height() + 24);
    });
}

QWidget* PointsEditorDialog::BuildPage(Page& page, PointsPage which, int rows, const QString& physicalHeader) {
    page.widget = new QWidget;
    page.widget->setObjectName(which == PointsPage::Sensor ? "SensorPage" : "ColdJunctionPage");
    auto* countLabel = new QLabel(Text(168, m_language), page.widget);
    page.count = new QLineEdit(page.widget);
    page.count->setObjectName("count");
    page.count->setFixedWidth(60);
    page.count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    page.count->installEventFilter(this);
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
        QLabel* rowHeader = HeaderLabel(Text(166, m_language), page.widget);
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

void PointsEditorDialog::ShowRefusal(const math::PointsRefusal& refusal) {
    m_refusing = true;
    link::Message message;
    message.textId = refusal.textId;
    message.text = resources::Text(refusal.textId, m_language) + refusal.appended;
    message.buttons = link::Buttons::Ok;
    if (refusal.textId == kTextOutOfRange) {
        message.title = resources::Text(180, m_language);
        message.titleId = 180;
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
