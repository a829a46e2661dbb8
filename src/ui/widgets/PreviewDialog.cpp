#include "ui/widgets/PreviewDialog.h"

#include <QChart>
#include <QChartView>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPixmap>
#include <QPushButton>
#include <QBuffer>
#include <QScatterSeries>
#include <QCategoryAxis>
#include <QValueAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "resources/StringTable.h"

namespace vantrel::widgets {

namespace {

namespace text = resources::text;

QString Text(int id, int offset) { return QString::fromStdString(resources::Text(id, offset)); }
QString Q(const std::string& s) { return QString::fromStdString(s); }

const QColor kReferenceColour(0x2f, 0x6f, 0xd6);
const QColor kTableColour(0xe0, 0x7b, 0x00);
const QColor kErrorColour(0xc0, 0x25, 0x25);

}  // namespace

void SetRoundRange(QCategoryAxis* axis, double low, double high, bool symmetric) {
    if (symmetric) {
        const double m = std::max(std::abs(low), std::abs(high));
        low = -m;
        high = m;
    }
    const double magnitude = std::max(std::abs(low), std::abs(high));
    if (!(high - low > magnitude * 1e-9) || !(high - low > 1e-12)) {
        const double pad = std::max(magnitude * 0.01, 1e-6);
        low -= pad;
        high += pad;
    }
    // A round step giving about five intervals: 1, 2, 2.5 or 5 times a power of ten.
    const double raw = (high - low) / 5;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * power;
    for (const double m : {1.0, 2.0, 2.5, 5.0}) {
        if (m * power >= raw) {
            step = m * power;
            break;
        }
    }
    int decimals = 0;
    while (decimals < 12) {
        const double scaled = step * std::pow(10.0, decimals);
        if (std::abs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled)) break;
        ++decimals;
    }
    const auto first = static_cast<long long>(std::floor(low / step + 1e-9));
    const auto last = static_cast<long long>(std::ceil(high / step - 1e-9));
    for (const QString& label : axis->categoriesLabels()) axis->remove(label);
    axis->setStartValue(static_cast<double>(first - 1) * step);
    for (long long k = first; k <= last; ++k) {
        const double value = static_cast<double>(k) * step;
        axis->append(k == 0 ? QStringLiteral("0") : QString::number(value, 'f', decimals), value);
    }
    axis->setRange(static_cast<double>(first) * step, static_cast<double>(last) * step);
}

QCategoryAxis* RoundAxis() {
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    return axis;
}

namespace {

QChart* BuildChart(const device::PlanPreview& p, int offset) {
    auto* chart = new QChart;
    chart->setMargins(QMargins(6, 6, 6, 6));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setTitle(Text(text::kPreviewTitle, offset));
    QFont titleFont = chart->titleFont();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.15);
    chart->setTitleFont(titleFont);

    auto* reference = new QLineSeries;
    reference->setName(Text(p.customCurve ? text::kPreviewAgainstPoints : text::kPreviewReference, offset));
    reference->setPen(QPen(kReferenceColour, 3));
    auto* table = new QLineSeries;
    table->setName(Text(text::kPreviewTable, offset));
    table->setPen(QPen(kTableColour, 1.5, Qt::DashLine));
    auto* points = new QScatterSeries;
    points->setName(Text(text::kPreviewTable, offset));
    points->setMarkerSize(7);
    points->setColor(kTableColour);
    points->setBorderColor(kTableColour.darker(130));
    auto* error = new QLineSeries;
    error->setName(Text(text::kPreviewError, offset) + " (" + Q(p.valueUnit) + ")");
    error->setPen(QPen(kErrorColour, 2));

    double xMin = 0, xMax = 1, sMin = 0, sMax = 1, eMin = 0, eMax = 0;
    bool first = true;
    for (const math::PreviewSample& s : p.curve.samples) {
        reference->append(s.value, s.referenceSignal);
        table->append(s.value, s.tableSignal);
        error->append(s.value, s.error);
        if (first) {
            xMin = xMax = s.value;
            sMin = sMax = s.referenceSignal;
            first = false;
        }
        xMin = std::min(xMin, s.value);
        xMax = std::max(xMax, s.value);
        sMin = std::min({sMin, s.referenceSignal, s.tableSignal});
        sMax = std::max({sMax, s.referenceSignal, s.tableSignal});
        eMin = std::min(eMin, s.error);
        eMax = std::max(eMax, s.error);
    }
    for (const math::PreviewSample& b : p.breakpoints) points->append(b.value, b.tableSignal);

    chart->addSeries(reference);
    chart->addSeries(table);
    chart->addSeries(points);
    chart->addSeries(error);

    auto* x = new QValueAxis;
    x->setTitleText(Q(p.valueUnit));
    x->setLabelFormat("%.4g");
    auto* signal = RoundAxis();
    signal->setTitleText(Text(text::kPreviewSignal, offset) + " (" + Q(p.signalUnit) + ")");
    auto* err = RoundAxis();
    err->setTitleText(Text(text::kPreviewError, offset) + " (" + Q(p.valueUnit) + ")");
    err->setLinePenColor(kErrorColour);
    err->setLabelsColor(kErrorColour);
    err->setTitleBrush(kErrorColour);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(signal, Qt::AlignLeft);
    chart->addAxis(err, Qt::AlignRight);
    for (QAbstractSeries* s : {static_cast<QAbstractSeries*>(reference), static_cast<QAbstractSeries*>(table),
                               static_cast<QAbstractSeries*>(points)}) {
        s->attachAxis(x);
        s->attachAxis(signal);
    }
    error->attachAxis(x);
    error->attachAxis(err);
    if (!first) {
        x->setRange(xMin, xMax);
        const double room = (sMax - sMin) * 0.03;  // the breakpoint markers stay inside the frame
        SetRoundRange(signal, sMin - room, sMax + room, false);
        SetRoundRange(err, eMin, eMax, true);
    }
    // One legend entry for the table: the markers speak for themselves.
    const auto markers = chart->legend()->markers(points);
    for (auto* marker : markers) marker->setVisible(false);
    return chart;
}

}  // namespace

PreviewPanel::PreviewPanel(const device::PlanPreview& preview, int offset, QWidget* parent) : QWidget(parent) {
    setObjectName("PreviewPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 8);
    m_view = new QChartView(BuildChart(preview, offset), this);
    m_view->setObjectName("PreviewChart");
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumSize(640, 400);
    m_largest = new QLabel(this);
    m_largest->setObjectName("PreviewLargestError");
    QFont bold = m_largest->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.1);
    m_largest->setFont(bold);
    m_note = new QLabel(this);
    m_note->setObjectName("PreviewNote");
    m_note->setWordWrap(true);
    m_note->setStyleSheet("QLabel#PreviewNote { background: #fff4e0; color: #8a4b00; border: 1px solid #e0a040;"
                          " border-radius: 4px; padding: 6px; }");
    if (preview.available) m_largest->setText(Q(device::LargestErrorText(preview, offset)));
    m_largest->setVisible(preview.available);
    m_note->setText(Q(preview.note));
    m_note->setVisible(!preview.note.empty());
    // A refused plan has nothing to draw: no empty axes whose titles would run into each
    // other, only the reason.
    m_view->setVisible(preview.available);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_largest);
    layout->addWidget(m_note);
    if (!preview.available) layout->addStretch(1);
}

PreviewDialog::PreviewDialog(const device::PlanPreview& preview, int offset, QWidget* parent) : QDialog(parent) {
    setObjectName("PreviewDialog");
    setWindowTitle(Text(text::kPreviewTitle, offset));
    auto* layout = new QVBoxLayout(this);
    m_panel = new PreviewPanel(preview, offset, this);
    layout->addWidget(m_panel, 1);
    auto* buttons = new QDialogButtonBox(this);
    auto* close = buttons->addButton(Text(text::kSerialClose, offset), QDialogButtonBox::RejectRole);
    close->setObjectName("PreviewClose");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(preview.available ? QSize(960, 680) : QSize(620, 220));
}

QByteArray PreviewPng(const device::PlanPreview& preview, int offset, QSize size) {
    PreviewPanel panel(preview, offset);
    panel.setAttribute(Qt::WA_DontShowOnScreen);
    panel.setAutoFillBackground(true);
    panel.resize(size);
    panel.show();
    const QPixmap image = panel.grab();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return {};
    return bytes;
}

}  // namespace vantrel::widgets
