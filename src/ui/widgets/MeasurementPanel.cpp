// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/MeasurementPanel.h"

#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "resources/StringTable.h"
#include "ui/widgets/Lamp.h"
#include "ui/widgets/Refreshing.h"
#include "ui/widgets/TrendChart.h"

namespace vantrel::widgets {

namespace {

constexpr int kBarSteps = 1000;

}  // namespace

MeasurementPanel::MeasurementPanel(const ui::ProgramForm& form, QWidget* parent) : QFrame(parent), m_form(form) {
    setObjectName("measurePage");
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(8);
    page->addWidget(BuildStateRow());
    page->addWidget(BuildDisplay(), 1);
    m_staleTimer = new QTimer(this);
    m_staleTimer->setInterval(250);
    connect(m_staleTimer, &QTimer::timeout, this, &MeasurementPanel::RefreshStaleness);
    connect(m_logButton, &QPushButton::clicked, this, &MeasurementPanel::loggingClicked);
}

QWidget* MeasurementPanel::BuildStateRow() {
    m_stateLampFrame = Named(new QWidget(this), "stateLampFrame");
    auto* stateRow = new QHBoxLayout(m_stateLampFrame);
    stateRow->setContentsMargins(4, 0, 4, 0);
    m_stateLamp = Named(new Lamp(18, m_stateLampFrame), "stateLamp");
    m_measureTitle = Named(new QLabel(m_stateLampFrame), "MeasureTitle");
    QFont titleFont = m_measureTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    m_measureTitle->setFont(titleFont);
    stateRow->addWidget(m_stateLamp);
    stateRow->addWidget(m_measureTitle, 1);
    return m_stateLampFrame;
}

QWidget* MeasurementPanel::BuildDisplay() {
    m_displayFrame = Named(new QFrame(this), "displayFrame");
    m_displayFrame->setFrameShape(QFrame::StyledPanel);
    auto* disp = new QVBoxLayout(m_displayFrame);
    disp->setContentsMargins(14, 14, 14, 14);
    disp->setSpacing(12);
    m_display = Named(new QLabel(m_displayFrame), "display");
    m_display->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_display->setMinimumHeight(150);
    m_display->setMaximumHeight(240);
    m_display->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_display->setCursor(Qt::PointingHandCursor);
    QFont big = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    big.setPointSize(54);
    big.setBold(true);
    m_display->setFont(big);
    RestyleDisplay();
    m_display->installEventFilter(this);
    disp->addWidget(m_display);

    m_outputValue = Named(new QLabel(m_displayFrame), "outputValue");
    QFont mid = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mid.setPointSize(16);
    m_outputValue->setFont(mid);
    m_outputValue->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    disp->addWidget(m_outputValue);

    auto* barRow = new QHBoxLayout;
    barRow->setSpacing(8);
    m_underRangeLamp = Named(new Lamp(16, m_displayFrame), "underRangeLamp");
    m_overRangeLamp = Named(new Lamp(16, m_displayFrame), "overRangeLamp");
    m_bar = Named(new QProgressBar(m_displayFrame), "bar");
    m_bar->setRange(0, kBarSteps);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_bar->setFixedHeight(16);
    barRow->addWidget(new QLabel(QStringLiteral("▼"), m_displayFrame));
    barRow->addWidget(m_underRangeLamp);
    barRow->addWidget(m_bar, 1);
    barRow->addWidget(m_overRangeLamp);
    barRow->addWidget(new QLabel(QStringLiteral("▲"), m_displayFrame));
    disp->addLayout(barRow);

    m_tripLamps = Named(new QWidget(m_displayFrame), "tripLamps");
    auto* tripRow = new QHBoxLayout(m_tripLamps);
    tripRow->setContentsMargins(0, 4, 0, 0);
    m_tripLamp1 = Named(new Lamp(16, m_tripLamps), "tripLamp1");
    m_tripLamp2 = Named(new Lamp(16, m_tripLamps), "tripLamp2");
    m_tripLampLabel1 = new QLabel(m_tripLamps);
    m_tripLampLabel2 = new QLabel(m_tripLamps);
    tripRow->addWidget(m_tripLamp1);
    tripRow->addWidget(m_tripLampLabel1);
    tripRow->addSpacing(24);
    tripRow->addWidget(m_tripLamp2);
    tripRow->addWidget(m_tripLampLabel2);
    tripRow->addStretch();
    disp->addWidget(m_tripLamps);

    m_trend = new TrendChart(m_displayFrame);
    disp->addWidget(m_trend, 1);
    auto* logRow = new QHBoxLayout;
    m_logButton = Named(new QPushButton(m_displayFrame), "logButton");
    m_logLabel = Named(new QLabel(m_displayFrame), "logLabel");
    m_logLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    logRow->addWidget(m_logButton);
    logRow->addWidget(m_logLabel, 1);
    disp->addLayout(logRow);
    return m_displayFrame;
}

QString MeasurementPanel::T(int id) const { return QString::fromStdString(m_form.T(id)); }

void MeasurementPanel::RefreshTexts() {
    SetText(m_measureTitle, T(resources::text::kMeasure));
    SetText(m_tripLampLabel1, T(resources::text::kTrip) + " 1");
    SetText(m_tripLampLabel2, T(resources::text::kTrip) + " 2");
    m_trend->SetLanguage(m_form.state().LanguageOffset());
    SetLogging(m_logging, m_logPath);
    m_display->setToolTip(T(resources::text::kDisplayHint));
    m_underRangeLamp->setToolTip(QStringLiteral("▼"));
    m_overRangeLamp->setToolTip(QStringLiteral("▲"));
}

void MeasurementPanel::Refresh() {
    SetShown(m_stateLampFrame, m_form.stateLampFrame().visible);
    SetShown(m_displayFrame, m_form.measurementPage().visible);
    m_stateLamp->SetColour(ToQColor(m_form.stateLamp()));
    SetShown(m_tripLamps, m_form.tripsFrame().visible);
    const QString display = QString::fromStdString(m_form.display());
    SetText(m_display, display.isEmpty() ? QStringLiteral("– – –") : display);
    if (display.isEmpty()) SetText(m_outputValue, QString());
}

void MeasurementPanel::SetLogging(bool active, const QString& path) {
    m_logging = active;
    m_logPath = path;
    SetText(m_logButton, (active ? QStringLiteral("■  ") : QStringLiteral("●  ")) +
                             T(active ? resources::text::kStopLogging : resources::text::kStartLogging));
    SetText(m_logLabel, active ? T(resources::text::kLoggingTo) + " " + path : QString());
}

void MeasurementPanel::RestyleDisplay() {
    m_display->setStyleSheet(QStringLiteral("QLabel#display { background: #1f2a33; color: %1; border-radius: 8px;"
                                            " padding: 8px 22px; }")
                                 .arg(m_stale ? QStringLiteral("#6b7784") : QStringLiteral("#8ef0a4")));
}

double MeasurementPanel::NowSeconds() const {
    const measure::Timestamp now = m_timeSource ? m_timeSource() : measure::SystemNow();
    return static_cast<double>(now.unixMilliseconds) / 1000.0;
}

void MeasurementPanel::RefreshStaleness() {
    const bool stale = m_measuring && NowSeconds() - m_lastReadingTime > measure::kStaleSeconds;
    if (stale == m_stale) return;
    m_stale = stale;
    RestyleDisplay();
    emit staleChanged(stale);
}

void MeasurementPanel::Start(const measure::Scale& scale, const measure::TrendReferences& references) {
    m_trend->Start(references);
    m_barSpan = std::fabs(scale.span());
    m_bar->setValue(0);
    m_underRangeLamp->SetColour(kLampGrey);
    m_overRangeLamp->SetColour(kLampGrey);
}

void MeasurementPanel::Show(const measure::Reading& reading) {
    SetText(m_outputValue, QString::fromStdString(reading.outputText));
    m_underRangeLamp->SetColour(LampColour(reading.range.underRange));
    m_overRangeLamp->SetColour(LampColour(reading.range.overRange));
    const double fraction = m_barSpan > 0 ? reading.range.bar / m_barSpan : 0;
    m_bar->setValue(static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * kBarSteps)));
    if (reading.trips) {
        m_tripLamp1->SetColour(LampColour(reading.trips->trip1));
        m_tripLamp2->SetColour(LampColour(reading.trips->trip2));
    }
    m_lastReadingTime = NowSeconds();
    m_trend->Add(reading, m_lastReadingTime);
    m_measuring = true;
    if (!m_staleTimer->isActive()) m_staleTimer->start();
    RefreshStaleness();
}

void MeasurementPanel::Stop() {
    m_measuring = false;
    m_staleTimer->stop();
    RefreshStaleness();
    m_bar->setValue(0);
    m_underRangeLamp->SetColour(kLampGrey);
    m_overRangeLamp->SetColour(kLampGrey);
    m_tripLamp1->SetColour(kLampGrey);
    m_tripLamp2->SetColour(kLampGrey);
}

bool MeasurementPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_display && event->type() == QEvent::MouseButtonRelease && !m_form.display().empty())
        emit displayClicked();
    return QFrame::eventFilter(watched, event);
}

}  // namespace vantrel::widgets
