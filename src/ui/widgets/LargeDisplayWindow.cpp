// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/LargeDisplayWindow.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>

#include "math/Units.h"
#include "resources/StringTable.h"
#include "ui/widgets/Lamp.h"

namespace vantrel::widgets {

namespace {

// The digits take this share of the display's height, and of its width for the longest value.
constexpr double kDigitsHeightShare = 0.55;
constexpr double kDigitsWidthShare = 0.92;
// Six digits, a sign and a point: a value that fits this fits every value of the display.
const QString kWidestValue = QStringLiteral("-8888.88");
const QString kDashes = QStringLiteral("– – –");

QString Tr(int id, int offset) { return QString::fromStdString(resources::Text(id, offset)); }

QLabel* LampCaption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setStyleSheet("color: #c8d3e0; font-weight: bold;");
    return label;
}

}  // namespace

LargeDisplayWindow::LargeDisplayWindow(int languageOffset, QWidget* parent) : QDialog(parent) {
    setObjectName("only_display");
    // A window of its own, resizable and maximisable, not a fixed little dialog.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    setMinimumSize(360, 220);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(8);

    auto* top = new QHBoxLayout;
    m_caption = new QLabel(this);
    m_caption->setObjectName("only_displayCaption");
    QFont bold = m_caption->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() + 4);
    m_caption->setFont(bold);
    m_fullScreen = new QPushButton(this);
    m_fullScreen->setObjectName("only_displayFullScreen");
    m_fullScreen->setCheckable(true);
    connect(m_fullScreen, &QPushButton::toggled, this, [this](bool on) { Open(on); });
    m_exit = new QPushButton(this);
    m_exit->setObjectName("only_displayExit");
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
    top->addWidget(m_caption, 1);
    top->addWidget(m_fullScreen);
    top->addWidget(m_exit);
    layout->addLayout(top);

    m_panel = new QWidget(this);
    m_panel->setObjectName("only_displayPanel");
    m_panel->setAttribute(Qt::WA_StyledBackground);
    m_panel->setStyleSheet("#only_displayPanel { background: #0f1b2b; border-radius: 10px; }");
    auto* panel = new QVBoxLayout(m_panel);
    panel->setContentsMargins(18, 10, 18, 14);
    auto* digits = new QHBoxLayout;
    m_value = new QLabel(kDashes, m_panel);
    m_value->setObjectName("only_displayValue");
    m_value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_unit = new QLabel(m_panel);
    m_unit->setObjectName("only_displayUnit");
    m_unit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    digits->addWidget(m_value, 1);
    digits->addWidget(m_unit);
    panel->addLayout(digits, 1);

    auto* lamps = new QHBoxLayout;
    m_under = new Lamp(24, m_panel);
    m_under->setObjectName("only_displayUnder");
    m_over = new Lamp(24, m_panel);
    m_over->setObjectName("only_displayOver");
    lamps->addWidget(LampCaption(QStringLiteral("▼"), m_panel));
    lamps->addWidget(m_under);
    lamps->addSpacing(12);
    lamps->addWidget(m_over);
    lamps->addWidget(LampCaption(QStringLiteral("▲"), m_panel));
    lamps->addStretch(1);
    m_trips = new QWidget(m_panel);
    auto* trips = new QHBoxLayout(m_trips);
    trips->setContentsMargins(0, 0, 0, 0);
    m_trip1 = new Lamp(24, m_trips);
    m_trip1->setObjectName("only_displayTrip1");
    m_trip2 = new Lamp(24, m_trips);
    m_trip2->setObjectName("only_displayTrip2");
    m_tripLabel1 = LampCaption(QString(), m_trips);
    m_tripLabel2 = LampCaption(QString(), m_trips);
    trips->addWidget(m_trip1);
    trips->addWidget(m_tripLabel1);
    trips->addSpacing(16);
    trips->addWidget(m_trip2);
    trips->addWidget(m_tripLabel2);
    m_trips->hide();
    lamps->addWidget(m_trips);
    panel->addLayout(lamps);
    layout->addWidget(m_panel, 1);

    SetLanguage(languageOffset);
    Restyle();
    resize(760, 360);
}

void LargeDisplayWindow::SetLanguage(int languageOffset) {
    setWindowTitle(Tr(resources::text::kMeasure, languageOffset));
    m_caption->setText(Tr(resources::text::kMeasure, languageOffset));
    m_exit->setText(Tr(resources::text::kExit, languageOffset));
    m_fullScreen->setText(Tr(resources::text::kFullScreen, languageOffset));
    m_tripLabel1->setText(Tr(resources::text::kTrip, languageOffset) + " 1");
    m_tripLabel2->setText(Tr(resources::text::kTrip, languageOffset) + " 2");
}

void LargeDisplayWindow::Show(const measure::Reading& reading) {
    // The reading's text is the number, then its unit; the display sets the unit apart.
    QString number = QString::fromStdString(reading.valueText);
    const std::string_view symbol = reading.unit ? math::Symbol(*reading.unit) : std::string_view();
    const QString unit = QString::fromUtf8(symbol.data(), static_cast<qsizetype>(symbol.size()));
    if (!unit.isEmpty() && number.endsWith(unit)) number.chop(unit.size());
    number = number.trimmed();
    if (m_value->text() != number) m_value->setText(number);
    if (m_unit->text() != unit) {
        m_unit->setText(unit);
        FitDigits();
    }
    m_under->SetColour(LampColour(reading.range.underRange));
    m_over->SetColour(LampColour(reading.range.overRange));
    m_trips->setVisible(reading.trips.has_value());
    if (reading.trips) {
        m_trip1->SetColour(LampColour(reading.trips->trip1));
        m_trip2->SetColour(LampColour(reading.trips->trip2));
    }
    SetStale(false);
}

void LargeDisplayWindow::Clear() {
    m_value->setText(kDashes);
    for (Lamp* lamp : {m_under, m_over, m_trip1, m_trip2}) lamp->SetColour(kLampGrey);
    SetStale(false);
}

void LargeDisplayWindow::SetStale(bool stale) {
    if (stale == m_stale) return;
    m_stale = stale;
    Restyle();
}

void LargeDisplayWindow::Open(bool fullScreen) {
    if (m_fullScreen->isChecked() != fullScreen) {
        m_fullScreen->setChecked(fullScreen);  // comes back here through toggled
        return;
    }
    if (fullScreen)
        showFullScreen();
    else
        showNormal();
    raise();
    activateWindow();
}

QString LargeDisplayWindow::value() const { return m_value->text(); }
QString LargeDisplayWindow::unit() const { return m_unit->text(); }
int LargeDisplayWindow::digitPixelSize() const { return m_value->font().pixelSize(); }

void LargeDisplayWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FitDigits();
}

// The largest digits that let the widest value and the unit fit the panel.
void LargeDisplayWindow::FitDigits() {
    if (!m_panel) return;
    const QSize room = m_panel->contentsRect().size();
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setBold(true);
    constexpr int kReference = 100;
    font.setPixelSize(kReference);
    const QFontMetricsF metrics(font);
    const QString unit = m_unit->text().isEmpty() ? QStringLiteral("°C") : m_unit->text();
    const double widthAtReference = metrics.horizontalAdvance(kWidestValue) + metrics.horizontalAdvance(unit + "  ") * 0.5;
    const double byWidth = room.width() * kDigitsWidthShare / widthAtReference * kReference;
    const double byHeight = room.height() * kDigitsHeightShare / metrics.height() * kReference;
    const int pixels = std::max(12, static_cast<int>(std::min(byWidth, byHeight)));
    font.setPixelSize(pixels);
    m_value->setFont(font);
    QFont unitFont = font;
    unitFont.setPixelSize(std::max(10, pixels / 2));
    m_unit->setFont(unitFont);
    const int lamp = std::clamp(pixels / 5, 16, 64);
    for (Lamp* l : {m_under, m_over, m_trip1, m_trip2}) l->SetDiameter(lamp);
}

void LargeDisplayWindow::Restyle() {
    const QString colour = m_stale ? QStringLiteral("#5f6b78") : QStringLiteral("#7dffa8");
    m_value->setStyleSheet("color: " + colour + ";");
    m_unit->setStyleSheet("color: " + colour + ";");
}

}  // namespace vantrel::widgets
