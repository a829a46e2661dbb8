// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/TripsDialog.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "resources/NumberFormat.h"
#include "resources/StringTable.h"

namespace vantrel::widgets {

namespace {

QString Text(int id, int offset) { return QString::fromStdString(resources::Text(id, offset)); }

QLineEdit* NumberBox(QWidget* parent, const char* name, int width = 90) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setMinimumWidth(width);
    return box;
}

}  // namespace

// The switching diagram of one trip: the output state against the input, with the
// hysteresis loop between the low and the high level. Empty until the first Recompute.
class TripDiagram : public QWidget {
public:
    explicit TripDiagram(QWidget* parent) : QWidget(parent) { setMinimumSize(220, 110); }

    void SetLevels(double high, double low, bool maximum) {
        m_drawn = true;
        m_high = high;
        m_low = low;
        m_maximum = maximum;
        update();
    }
    bool drawn() const { return m_drawn; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(palette().mid().color(), 1));
        p.setBrush(palette().base());
        p.drawRoundedRect(frame, 6, 6);
        if (!m_drawn) return;

        const QRectF plot = frame.adjusted(30, 14, -14, -30);
        const double off = plot.bottom();
        const double on = plot.top() + 6;
        const double xLow = plot.left() + plot.width() * 0.38;
        const double xHigh = plot.left() + plot.width() * 0.62;

        // Axes: output state up, input to the right.
        p.setPen(QPen(palette().text().color(), 1.2));
        p.drawLine(QPointF(plot.left(), plot.bottom() + 4), QPointF(plot.left(), plot.top() - 6));
        p.drawLine(QPointF(plot.left() - 4, plot.bottom()), QPointF(plot.right() + 6, plot.bottom()));
        QFont small = font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        p.setFont(small);
        p.drawText(QRectF(frame.left(), on - 8, 26, 16), Qt::AlignCenter, QStringLiteral("ON"));
        p.drawText(QRectF(frame.left(), off - 8, 26, 16), Qt::AlignCenter, QStringLiteral("OFF"));

        // The loop: a maximum trip switches on rising through the high level and off falling
        // through the low one; a minimum trip the other way round.
        const QColor rising(0, 120, 215);
        const QColor falling(220, 110, 0);
        const double yRise1 = m_maximum ? off : on;
        const double yRise2 = m_maximum ? on : off;
        p.setPen(QPen(rising, 2));
        QPainterPath up;
        up.moveTo(plot.left(), yRise1);
        up.lineTo(xHigh, yRise1);
        up.lineTo(xHigh, yRise2);
        up.lineTo(plot.right(), yRise2);
        p.drawPath(up);
        p.setPen(QPen(falling, 2, Qt::DashLine));
        QPainterPath down;
        down.moveTo(plot.right(), yRise2);
        down.lineTo(xLow, yRise2);
        down.lineTo(xLow, yRise1);
        down.lineTo(plot.left(), yRise1);
        p.drawPath(down);

        // Direction arrows on the two vertical edges.
        const auto arrow = [&p](QPointF tip, bool pointingUp, const QColor& colour) {
            const double d = pointingUp ? 6 : -6;
            QPolygonF head;
            head << tip << QPointF(tip.x() - 4, tip.y() + d) << QPointF(tip.x() + 4, tip.y() + d);
            p.setPen(Qt::NoPen);
            p.setBrush(colour);
            p.drawPolygon(head);
        };
        const double mid = (on + off) / 2;
        arrow(QPointF(xHigh, mid), m_maximum, rising);
        arrow(QPointF(xLow, mid), !m_maximum, falling);

        p.setPen(palette().text().color());
        const QString low = QString::fromStdString(resources::PlainTextSingle(static_cast<float>(m_low)));
        const QString high = QString::fromStdString(resources::PlainTextSingle(static_cast<float>(m_high)));
        p.drawText(QRectF(xLow - 50, plot.bottom() + 4, 48, 18), Qt::AlignRight | Qt::AlignVCenter, low);
        p.drawText(QRectF(xHigh + 2, plot.bottom() + 4, 60, 18), Qt::AlignLeft | Qt::AlignVCenter, high);
    }

private:
    bool m_drawn = false;
    double m_high = 0;
    double m_low = 0;
    bool m_maximum = true;
};

bool TripsDialog::Run(device::WorkingState& working, const ui::TripsFormRequest& request, link::Dialogs& dialogs,
                      QWidget* parent) {
    ui::TripsForm form(working);
    form.Open(request.rangeMin, request.rangeMax, request.unit);
    TripsDialog dialog(form, working, request, dialogs, parent);
    return dialog.exec() == QDialog::Accepted;
}

TripsDialog::TripsDialog(ui::TripsForm& form, const device::WorkingState& working,
                         const ui::TripsFormRequest& request, link::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_form(form), m_working(working), m_dialogs(dialogs), m_language(working.LanguageOffset()) {
    setObjectName("Trips");
    setWindowTitle(Text(resources::text::kTripsSetting, m_language));

    auto* heading = new QLabel(Text(resources::text::kTripsSetting, m_language), this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.15);
    heading->setFont(headingFont);

    const QString unit = QString::fromStdString(m_form.Unit()).trimmed();
    auto* range = new QGroupBox(Text(resources::text::kInputTypeField, m_language), this);
    auto* rangeMin = NumberBox(range, "rangeMin");
    auto* rangeMax = NumberBox(range, "rangeMax");
    rangeMin->setText(QString::fromStdString(m_form.RangeMinText()));
    rangeMax->setText(QString::fromStdString(m_form.RangeMaxText()));
    for (QLineEdit* box : {rangeMin, rangeMax}) {
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::NoFocus);
    }
    auto* rangeLayout = new QHBoxLayout(range);
    rangeLayout->addWidget(new QLabel(Text(resources::text::kMin, m_language), range));
    rangeLayout->addWidget(rangeMin);
    rangeLayout->addSpacing(12);
    rangeLayout->addWidget(new QLabel(Text(resources::text::kMax, m_language), range));
    rangeLayout->addWidget(rangeMax);
    rangeLayout->addWidget(new QLabel(unit, range));
    rangeLayout->addStretch();

    auto* trips = new QHBoxLayout;
    trips->setSpacing(12);
    trips->addWidget(BuildTrip(1));
    trips->addWidget(BuildTrip(2));

    m_delay = NumberBox(this, "delay");
    m_delay->setText(QString::fromStdString(m_form.Delay()));
    connect(m_delay, &QLineEdit::textEdited, this, [this](const QString& t) { m_form.Delay() = t.toStdString(); });
    auto* delayLabel = new QLabel(Text(resources::text::kDelay, m_language), this);
    delayLabel->setBuddy(m_delay);
    auto* delayRow = new QHBoxLayout;
    delayRow->addWidget(delayLabel);
    delayRow->addWidget(m_delay);
    delayRow->addWidget(new QLabel(QStringLiteral("sec."), this));
    delayRow->addStretch();

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName("cmd_ok_annulla0");
    m_ok->setAutoDefault(false);
    m_cancel = new QPushButton(
        QString::fromStdString(request.cancelCaption.empty() ? resources::Text(resources::text::kCancel, m_language)
                                                             : request.cancelCaption),
        this);
    m_cancel->setObjectName("cmd_ok_annulla1");
    m_cancel->setAutoDefault(false);
    delayRow->addWidget(m_ok);
    delayRow->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(12);
    layout->addWidget(heading);
    layout->addWidget(range);
    layout->addLayout(trips);
    layout->addLayout(delayRow);

    connect(m_ok, &QPushButton::clicked, this, &TripsDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TripsDialog::reject);
    setTabOrder(m_trip[0].max, m_trip[0].min);
    setTabOrder(m_trip[0].min, m_trip[0].threshold);
    setTabOrder(m_trip[0].threshold, m_trip[0].hysteresis);
    setTabOrder(m_trip[0].hysteresis, m_trip[1].max);
    setTabOrder(m_trip[1].max, m_trip[1].min);
    setTabOrder(m_trip[1].min, m_trip[1].threshold);
    setTabOrder(m_trip[1].threshold, m_trip[1].hysteresis);
    setTabOrder(m_trip[1].hysteresis, m_delay);
    setTabOrder(m_delay, m_ok);
    setTabOrder(m_ok, m_cancel);
}

QWidget* TripsDialog::BuildTrip(int trip) {
    TripWidgets& w = m_trip[Index(trip)];
    auto* box = new QGroupBox(Text(resources::text::kTrip, m_language) + (trip == 1 ? " 1" : " 2"), this);
    box->setObjectName(trip == 1 ? "Trip1" : "Trip2");
    w.max = new QRadioButton(Text(resources::text::kMax, m_language), box);
    w.min = new QRadioButton(Text(resources::text::kMin, m_language), box);
    auto* group = new QButtonGroup(box);
    group->addButton(w.max);
    group->addButton(w.min);
    (m_form.IsMaximum(trip) ? w.max : w.min)->setChecked(true);
    w.threshold = NumberBox(box, "threshold");
    w.hysteresis = NumberBox(box, "hysteresis");
    w.diagram = new TripDiagram(box);
    LoadBoxes(trip);
    for (QLineEdit* edit : {w.threshold, w.hysteresis}) edit->installEventFilter(this);
    connect(w.threshold, &QLineEdit::textEdited, this,
            [this, trip](const QString& t) { m_form.Threshold(trip) = t.toStdString(); });
    connect(w.hysteresis, &QLineEdit::textEdited, this,
            [this, trip](const QString& t) { m_form.Hysteresis(trip) = t.toStdString(); });
    const auto choose = [this, trip](bool maximum) {
        m_form.SetMaximum(trip, maximum);
        Recompute(trip);
    };
    connect(w.max, &QRadioButton::clicked, this, [choose] { choose(true); });
    connect(w.min, &QRadioButton::clicked, this, [choose] { choose(false); });

    const QString unit = QString::fromStdString(m_form.Unit()).trimmed();
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    auto* options = new QHBoxLayout;
    options->addWidget(w.max);
    options->addWidget(w.min);
    options->addStretch();
    grid->addLayout(options, 0, 0, 1, 3);
    auto* thresholdLabel = new QLabel(Text(resources::text::kTrip, m_language), box);
    thresholdLabel->setBuddy(w.threshold);
    grid->addWidget(thresholdLabel, 1, 0);
    grid->addWidget(w.threshold, 1, 1);
    grid->addWidget(new QLabel(unit, box), 1, 2);
    auto* hysteresisLabel = new QLabel(Text(resources::text::kHysteresisField, m_language), box);
    hysteresisLabel->setBuddy(w.hysteresis);
    grid->addWidget(hysteresisLabel, 2, 0);
    grid->addWidget(w.hysteresis, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("%"), box), 2, 2);
    grid->addWidget(w.diagram, 3, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    return box;
}

void TripsDialog::LoadBoxes(int trip) {
    TripWidgets& w = m_trip[Index(trip)];
    const QString threshold = QString::fromStdString(m_form.Threshold(trip));
    const QString hysteresis = QString::fromStdString(m_form.Hysteresis(trip));
    if (w.threshold->text() != threshold) w.threshold->setText(threshold);
    if (w.hysteresis->text() != hysteresis) w.hysteresis->setText(hysteresis);
}

void TripsDialog::Recompute(int trip) {
    if (m_messageOpen) return;
    const auto message = m_form.Recompute(trip);
    LoadBoxes(trip);
    if (message) {
        ShowMessage(*message);
        return;
    }
    const std::size_t i = Index(trip);
    m_trip[i].diagram->SetLevels(static_cast<double>(m_working.TripLevels[2 * i]), static_cast<double>(m_working.TripLevels[2 * i + 1]), m_form.IsMaximum(trip));
}

void TripsDialog::ShowMessage(const ui::TripsMessage& message) {
    m_messageOpen = true;
    link::Message box;
    box.textId = message.textId;
    box.text = message.textId != 0 ? resources::Text(message.textId, m_language) : message.literal;
    box.buttons = link::Buttons::Ok;
    box.icon = link::Icon::Exclamation;
    m_dialogs.Show(box);
    QLineEdit* focus = m_delay;
    if (message.box == ui::TripsMessage::Box::Threshold) focus = thresholdBox(message.trip);
    if (message.box == ui::TripsMessage::Box::Hysteresis) focus = hysteresisBox(message.trip);
    focus->setFocus(Qt::OtherFocusReason);
    focus->selectAll();
    m_messageOpen = false;
}

void TripsDialog::accept() {
    if (const auto message = m_form.Ok()) {
        ShowMessage(*message);
        return;
    }
    QDialog::accept();
}

void TripsDialog::reject() {
    m_form.Cancel();
    QDialog::reject();
}

bool TripsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !m_messageOpen) {
        for (int trip : {1, 2}) {
            const TripWidgets& w = m_trip[Index(trip)];
            if (watched == w.threshold || watched == w.hysteresis) Recompute(trip);
        }
    } else if (event->type() == QEvent::MouseButtonPress) {
        if (auto* box = qobject_cast<QLineEdit*>(watched)) QTimer::singleShot(0, box, [box] { box->selectAll(); });
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace vantrel::widgets
