// Turns a user guide written in Markdown into the PDF that "Help on line" opens, with Qt's own
// PDF writer: A4 pages, a running header and page numbers. Toolbar pictures are referenced in
// the Markdown as images named "icon:<id>" and drawn from the application's own resources.
//
//   vantrel-guide-pdf GUIDE.md OUT.pdf "Header text"     (QT_QPA_PLATFORM=offscreen works)
//
// The PDF is written to a temporary file and renamed over OUT.pdf, so a failed run never
// leaves a half-written guide beside the programs.

#include "resources/icons/ResourceIcons.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <cmath>
#include <memory>
#include <cstdio>
#include <vector>

namespace {

const QColor kNavy(0x1F, 0x3A, 0x5F);
const QColor kTeal(0x12, 0xA1, 0x9A);
const QColor kRule(0xC8, 0xD2, 0xDC);
const QColor kCodeBackground(0xF1, 0xF4, 0xF7);
const QColor kHeaderBackground(0xE6, 0xEE, 0xF5);
constexpr int kIconSizeInText = 18;  // in 96-dpi pixels: a little taller than the text line

QString ReadUtf8(const QString& path, bool& ok) {
    QFile file(path);
    ok = file.open(QIODevice::ReadOnly);
    return ok ? QString::fromUtf8(file.readAll()) : QString();
}

// Replaces every "icon:<id>" image by the rendered picture and gives it a fixed size. (The
// Markdown reader of Qt 6.4 drops an image without alternative text inside a table cell, so
// the guides always give one.)
bool EmbedIcons(QTextDocument& doc) {
    struct Found {
        int position;
        QTextImageFormat format;
    };
    std::vector<Found> images;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            const QTextImageFormat image = fragment.charFormat().toImageFormat();
            if (image.name().startsWith(QLatin1String("icon:"))) images.push_back({fragment.position(), image});
        }
    }
    bool allFound = true;
    for (Found& found : images) {
        const QString name = found.format.name();
        const QPixmap pixmap = vantrel::resources::ResourcePixmap(name.mid(5).toInt(), QSize(128, 128));
        if (pixmap.isNull()) {
            std::fprintf(stderr, "vantrel-guide-pdf: no picture %s\n", qPrintable(name));
            allFound = false;
            continue;
        }
        doc.addResource(QTextDocument::ImageResource, QUrl(name), pixmap.toImage());
        found.format.setWidth(kIconSizeInText);
        found.format.setHeight(kIconSizeInText);
        found.format.setVerticalAlignment(QTextCharFormat::AlignMiddle);
        QTextCursor cursor(&doc);
        cursor.setPosition(found.position);
        cursor.setPosition(found.position + 1, QTextCursor::KeepAnchor);  // one object character
        cursor.setCharFormat(found.format);
    }
    return allFound;
}

void StyleHeadings(QTextDocument& doc) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        QTextCursor cursor(block);
        QTextBlockFormat blockFormat = block.blockFormat();
        if (level == 0) {
            if (blockFormat.hasProperty(QTextFormat::BlockCodeFence)) {  // a code block
                blockFormat.setBackground(kCodeBackground);
                blockFormat.setLeftMargin(8);
                cursor.setBlockFormat(blockFormat);
            }
            continue;
        }
        blockFormat.setTopMargin(level == 1 ? 0 : 14);
        blockFormat.setBottomMargin(level == 1 ? 10 : 4);
        cursor.setBlockFormat(blockFormat);
        cursor.select(QTextCursor::BlockUnderCursor);
        QTextCharFormat chars;
        chars.setForeground(level == 1 ? kNavy : kTeal.darker(130));
        chars.setFontWeight(QFont::Bold);
        chars.setFontPointSize(level == 1 ? 20 : 13);
        cursor.mergeCharFormat(chars);
    }
}

void StyleTables(QTextFrame* frame) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) {
            QTextTableFormat format = table->format();
            format.setBorder(0.6);
            format.setBorderBrush(kRule);
            format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            format.setBorderCollapse(true);
            format.setCellPadding(4);
            format.setCellSpacing(0);
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            format.setHeaderRowCount(1);
            table->setFormat(format);
            for (int column = 0; column < table->columns(); ++column) {
                QTextTableCell cell = table->cellAt(0, column);
                QTextCharFormat cellFormat = cell.format();
                cellFormat.setBackground(kHeaderBackground);
                cellFormat.setFontWeight(QFont::Bold);
                cell.setFormat(cellFormat);
            }
        }
        StyleTables(child);
    }
}

// The blocks (by number) of the headings that would land in the last `reserve` of a page.
std::vector<int> HeadingsAtPageFoot(QTextDocument& doc, double pageHeight, double reserve) {
    std::vector<int> late;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() < 2) continue;
        const QRectF box = doc.documentLayout()->blockBoundingRect(block);
        const double offset = box.top() - std::floor(box.top() / pageHeight) * pageHeight;
        if (offset + reserve > pageHeight) late.push_back(block.blockNumber());
    }
    return late;
}

void BreakBefore(QTextDocument& doc, const std::vector<int>& blockNumbers) {
    for (int number : blockNumbers) {
        const QTextBlock block = doc.findBlockByNumber(number);
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
    }
}

std::unique_ptr<QTextDocument> BuildDocument(const QString& markdown, QPdfWriter& writer, QSizeF pageSize,
                                             const std::vector<int>& breaks) {
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(&writer);
    QFont body(QStringLiteral("DejaVu Sans"));
    body.setPointSizeF(9.5);
    doc->setDefaultFont(body);
    doc->setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    if (!EmbedIcons(*doc)) return nullptr;
    StyleHeadings(*doc);
    StyleTables(doc->rootFrame());
    BreakBefore(*doc, breaks);
    doc->setPageSize(pageSize);
    doc->setDocumentMargin(0);
    return doc;
}

void DrawPageFrame(QPainter& painter, const QRectF& page, const QString& header, int number, int count,
                   double mm) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(8);
    painter.setFont(font);
    painter.setPen(kNavy);
    const QRectF headerLine(page.left(), page.top() - 12 * mm, page.width(), 8 * mm);
    painter.drawText(headerLine, Qt::AlignLeft | Qt::AlignBottom, header);
    painter.drawText(headerLine, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Vantrel 3.03"));
    painter.setPen(QPen(kTeal, 0.4 * mm));
    painter.drawLine(QPointF(page.left(), page.top() - 3 * mm), QPointF(page.right(), page.top() - 3 * mm));
    painter.setPen(kNavy);
    const QRectF footerLine(page.left(), page.bottom() + 4 * mm, page.width(), 8 * mm);
    painter.drawText(footerLine, Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("%1 / %2").arg(number).arg(count));
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: vantrel-guide-pdf GUIDE.md OUT.pdf \"Header text\"\n");
        return 2;
    }
    bool ok = false;
    const QString markdown = ReadUtf8(QString::fromLocal8Bit(argv[1]), ok);
    if (!ok) {
        std::fprintf(stderr, "vantrel-guide-pdf: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString header = QString::fromUtf8(argv[3]);

    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "vantrel-guide-pdf: cannot write %s\n", argv[2]);
        return 1;
    }
    {
        QPdfWriter writer(&out);
        writer.setResolution(300);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(20, 24, 20, 22), QPageLayout::Millimeter));
        writer.setTitle(header);
        writer.setCreator(QStringLiteral("Vantrel"));
        const double mm = writer.resolution() / 25.4;
        const QRectF page = writer.pageLayout().paintRectPixels(writer.resolution());

        // A heading left alone at the foot of a page moves to the next one. Each move shifts
        // what follows, so the document is built again from the text until nothing moves (the
        // incremental relayout of an edited document is not trusted with page breaks).
        std::vector<int> breaks;
        std::unique_ptr<QTextDocument> doc;
        for (int pass = 0; pass < 30; ++pass) {
            doc = BuildDocument(markdown, writer, page.size(), breaks);
            if (!doc) return 1;
            const std::vector<int> late = HeadingsAtPageFoot(*doc, page.height(), 30 * mm);
            std::vector<int> fresh;
            for (int number : late)
                if (std::find(breaks.begin(), breaks.end(), number) == breaks.end()) fresh.push_back(number);
            if (fresh.empty()) break;
            breaks.push_back(fresh.front());
        }

        QPainter painter(&writer);
        const int count = doc->pageCount();
        for (int number = 1; number <= count; ++number) {
            if (number > 1) writer.newPage();
            const QRectF origin(0, 0, page.width(), page.height());
            DrawPageFrame(painter, origin, header, number, count, mm);
            painter.save();
            painter.translate(0, -(number - 1) * page.height());
            doc->drawContents(&painter, origin.translated(0, (number - 1) * page.height()));
            painter.restore();
        }
        painter.end();
    }
    if (!out.commit()) {
        std::fprintf(stderr, "vantrel-guide-pdf: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
