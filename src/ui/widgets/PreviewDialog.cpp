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
#include <QSaveFile>
#include <QScatterSeries>
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

// Ticks counted from 0, so that the zero tick reads "0" and not a rounding residue.
void AnchorTicksAtZero(QValueAxis* axis) {
    // Only for a span that is large against the values: counting ticks from a far anchor in
    // steps near the rounding limit would never reach the axis.
    const double span = axis->max() - axis->min();
    const double magnitude = std::max(std::abs(axis->max()), std::abs(axis->min()));
    if (axis->tickCount() < 2 || !(span > magnitude * 1e-6)) return;
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval((axis->max() - axis->min()) / (axis->tickCount() - 1));
}

namespace {

// Axis ends with a little room, never an empty span.
void FitAxis(QValueAxis* axis, double low, double high, bool symmetric) {
    if (symmetric) {
        const double m = std::max({std::abs(low), std::abs(high), 1e-6});
        low = -m;
        high = m;
    }
    const double pad = std::max({(high - low) * 0.08, std::max(std::abs(low), std::abs(high)) * 0.01, 1e-6});
    axis->setTickType(QValueAxis::TicksFixed);
    axis->setRange(low - pad, high + pad);
    axis->applyNiceNumbers();
    AnchorTicksAtZero(axis);
}

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
    auto* signal = new QValueAxis;
    signal->setTitleText(Text(text::kPreviewSignal, offset) + " (" + Q(p.signalUnit) + ")");
    signal->setLabelFormat("%.4g");
    auto* err = new QValueAxis;
    err->setTitleText(Text(text::kPreviewError, offset) + " (" + Q(p.valueUnit) + ")");
    err->setLabelFormat("%.3g");
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
        FitAxis(signal, sMin, sMax, false);
        FitAxis(err, eMin, eMax, true);
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
    layout->addWidget(m_view, 1);
    layout->addWidget(m_largest);
    layout->addWidget(m_note);
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
    resize(960, 680);
}

bool SavePreviewPng(const device::PlanPreview& preview, int offset, const QString& path, QSize size) {
    PreviewPanel panel(preview, offset);
    panel.setAttribute(Qt::WA_DontShowOnScreen);
    panel.setAutoFillBackground(true);
    panel.resize(size);
    panel.show();
    const QPixmap image = panel.grab();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace vantrel::widgets
