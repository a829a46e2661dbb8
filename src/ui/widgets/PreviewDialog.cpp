// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/PreviewDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "render/PreviewPicture.h"
#include "resources/StringTable.h"
#include "ui/widgets/ChartWidget.h"

namespace vantrel::widgets {

namespace {

namespace text = resources::text;

QString Text(int id, int offset) { return QString::fromStdString(resources::Text(id, offset)); }
QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

PreviewPanel::PreviewPanel(const device::PlanPreview& preview, int offset, QWidget* parent) : QWidget(parent) {
    setObjectName("PreviewPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 8);
    m_chart = new ChartWidget([preview, offset](bool dark) { return render::PreviewChart(preview, offset, dark); },
                              this);
    m_chart->setObjectName("PreviewChart");
    m_chart->setMinimumSize(640, 400);
    m_largest = new QLabel(this);
    m_largest->setObjectName("PreviewLargestError");
    QFont bold = m_largest->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.1);
    m_largest->setFont(bold);
    m_note = new QLabel(this);
    m_note->setObjectName("PreviewNote");
    m_note->setWordWrap(true);
    // Its own dark text on its own light background: readable whatever the desktop's palette.
    m_note->setStyleSheet("QLabel#PreviewNote { background: #fff4e0; color: #8a4b00; border: 1px solid #e0a040;"
                          " border-radius: 4px; padding: 6px; }");
    if (preview.available) m_largest->setText(Q(device::LargestErrorText(preview, offset)));
    m_largest->setVisible(preview.available);
    m_note->setText(Q(preview.note));
    m_note->setVisible(!preview.note.empty());
    // A refused plan has nothing to draw: no empty axes whose titles would run into each
    // other, only the reason.
    m_chart->setVisible(preview.available);
    layout->addWidget(m_chart, 1);
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

}  // namespace vantrel::widgets
