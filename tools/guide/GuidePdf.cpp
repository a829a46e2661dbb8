// SPDX-FileCopyrightText: 2026 Vantrel maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// Turns a user guide written in Markdown into the PDF that "Help on line" opens, with Qt's own
// PDF writer: A4 pages, a running header and page numbers, and bookmarks (the PDF outline) for
// every section. Toolbar pictures are referenced in the Markdown as images named "icon:<id>"
// and drawn from the application's own resources; screenshots as images with a path relative
// to the guide ("../screenshots/main-english.png"). "@VERSION@" stands for the program's
// version as its Info window shows it (the string table), so the guide names one version.
//
//   vantrel-guide-pdf GUIDE.md OUT.pdf "Header text"     (QT_QPA_PLATFORM=offscreen works)
//
// The PDF is written to a temporary file and renamed over OUT.pdf, so a failed run (a missing
// picture included) never leaves a half-written guide beside the programs.

#include "resources/StringTable.h"
#include "resources/icons/ResourceIcons.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
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
#include <map>
#include <vector>

namespace {

const QColor kNavy(0x1F, 0x3A, 0x5F);
const QColor kTeal(0x12, 0xA1, 0x9A);
const QColor kRule(0xC8, 0xD2, 0xDC);
const QColor kCodeBackground(0xF1, 0xF4, 0xF7);
const QColor kHeaderBackground(0xE6, 0xEE, 0xF5);
constexpr int kIconSizeInText = 18;  // in 96-dpi pixels: a little taller than the text line
constexpr int kScreenshotWidth = 520; // in 96-dpi pixels: about 140 mm of the 170 mm text width
// Screenshots are shown at this share of their pixel size (at most kScreenshotWidth wide), so
// small windows keep the same scale as one another.
constexpr double kScreenshotScale = 0.7;

QString ReadUtf8(const QString& path, bool& ok) {
    QFile file(path);
    ok = file.open(QIODevice::ReadOnly);
    return ok ? QString::fromUtf8(file.readAll()) : QString();
}

// Replaces every "icon:<id>" image by the rendered picture and every other image by the
// screenshot it names (relative to the guide's folder), each at a fixed size. (The Markdown
// reader of Qt 6.4 drops an image without alternative text inside a table cell, so the guides
// always give one.) False when a picture is missing; every missing one is named.
bool EmbedPictures(QTextDocument& doc, const QString& guideFolder) {
    struct Found {
        int position;
        QTextImageFormat format;
    };
    std::vector<Found> images;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            images.push_back({fragment.position(), fragment.charFormat().toImageFormat()});
        }
    }
    bool allFound = true;
    for (Found& found : images) {
        const QString name = found.format.name();
        QImage image;
        if (name.startsWith(QLatin1String("icon:"))) {
            image = vantrel::resources::ResourcePixmap(name.mid(5).toInt(), QSize(128, 128)).toImage();
            found.format.setWidth(kIconSizeInText);
            found.format.setHeight(kIconSizeInText);
            found.format.setVerticalAlignment(QTextCharFormat::AlignMiddle);
        } else {
            image.load(QFileInfo(guideFolder + QLatin1Char('/') + name).absoluteFilePath());
            if (!image.isNull()) {
                const double width = std::min<double>(kScreenshotWidth, image.width() * kScreenshotScale);
                found.format.setWidth(width);
                found.format.setHeight(width * image.height() / image.width());
            }
        }
        if (image.isNull()) {
            std::fprintf(stderr, "vantrel-guide-pdf: no picture %s\n", qPrintable(name));
            allFound = false;
            continue;
        }
        doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
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

std::unique_ptr<QTextDocument> BuildDocument(const QString& markdown, const QString& guideFolder, QPdfWriter& writer,
                                             QSizeF pageSize, const std::vector<int>& breaks) {
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(&writer);
    QFont body(QStringLiteral("DejaVu Sans"));
    body.setPointSizeF(9.5);
    doc->setDefaultFont(body);
    doc->setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    if (!EmbedPictures(*doc, guideFolder)) return nullptr;
    StyleHeadings(*doc);
    StyleTables(doc->rootFrame());
    BreakBefore(*doc, breaks);
    doc->setPageSize(pageSize);
    doc->setDocumentMargin(0);
    return doc;
}

void DrawPageFrame(QPainter& painter, const QRectF& page, const QString& header, const QString& version, int number,
                   int count, double mm) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(8);
    painter.setFont(font);
    painter.setPen(kNavy);
    const QRectF headerLine(page.left(), page.top() - 12 * mm, page.width(), 8 * mm);
    painter.drawText(headerLine, Qt::AlignLeft | Qt::AlignBottom, header);
    painter.drawText(headerLine, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Vantrel ") + version);
    painter.setPen(QPen(kTeal, 0.4 * mm));
    painter.drawLine(QPointF(page.left(), page.top() - 3 * mm), QPointF(page.right(), page.top() - 3 * mm));
    painter.setPen(kNavy);
    const QRectF footerLine(page.left(), page.bottom() + 4 * mm, page.width(), 8 * mm);
    painter.drawText(footerLine, Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("%1 / %2").arg(number).arg(count));
}

// The program's version as its Info window shows it ("Version 3.03" -> "3.03").
QString ProgramVersion() {
    const QString text = QString::fromStdString(vantrel::resources::Text(181, 300)).trimmed();
    return text.section(QLatin1Char(' '), -1);
}

// ---- Bookmarks ------------------------------------------------------------------------------
// Qt's PDF writer has no outline, so one is added as an incremental update: the catalog is
// written again with an /Outlines entry, the outline items follow, then a new cross-reference
// section and trailer pointing back at the first (PDF 1.4, section 3.4.5).

struct Bookmark {
    int level;      // 1 (a section) or 2 (inside the last section)
    QString title;
    int page;       // from 0
    double top;     // in points from the top of the page
};

std::vector<Bookmark> Bookmarks(QTextDocument& doc, double pageHeight, double pointsPerUnit, double topMarginPoints) {
    std::vector<Bookmark> marks;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level < 2 || level > 3) continue;  // level 1 is the document's own title
        const QRectF box = doc.documentLayout()->blockBoundingRect(block);
        const int page = static_cast<int>(std::floor(box.top() / pageHeight));
        const double top = topMarginPoints + (box.top() - page * pageHeight) * pointsPerUnit;
        marks.push_back({level - 1, block.text().trimmed(), page, top});
    }
    return marks;
}

QByteArray PdfText(const QString& text) {
    QByteArray hex = "<FEFF";
    for (const QChar c : text) hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

struct ObjectRef {
    int number = 0;
    QByteArray body;  // the dictionary, without "n 0 obj"
};

// Appends the outline to `pdf`; false when the file does not look as Qt writes it.
bool AddOutline(QByteArray& pdf, const std::vector<Bookmark>& marks, double pageHeightPoints) {
    if (marks.empty()) return true;
    const QRegularExpression startxrefRe(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    const QRegularExpression rootRe(QStringLiteral("/Root\\s+(\\d+)\\s+0\\s+R"));
    const QRegularExpression infoRe(QStringLiteral("/Info\\s+(\\d+)\\s+0\\s+R"));
    const QRegularExpression sizeRe(QStringLiteral("/Size\\s+(\\d+)"));
    const QString text = QString::fromLatin1(pdf);
    const auto startxref = startxrefRe.match(text);
    const int trailerAt = static_cast<int>(text.lastIndexOf(QLatin1String("trailer")));
    if (!startxref.hasMatch() || trailerAt < 0) return false;
    const QString trailer = text.mid(trailerAt);
    const auto root = rootRe.match(trailer);
    const auto size = sizeRe.match(trailer);
    const auto info = infoRe.match(trailer);
    if (!root.hasMatch() || !size.hasMatch()) return false;
    const int rootNumber = root.captured(1).toInt();

    // The catalog's dictionary, and the pages in the order of the page tree.
    const QRegularExpression catalogRe(QStringLiteral("\\n%1 0 obj\\s*<<(.*?)>>\\s*endobj").arg(rootNumber),
                                       QRegularExpression::DotMatchesEverythingOption);
    const auto catalog = catalogRe.match(text);
    const QRegularExpression kidsRe(QStringLiteral("/Type\\s*/Pages.*?/Kids\\s*\\[([^\\]]*)\\]"),
                                    QRegularExpression::DotMatchesEverythingOption);
    const auto kids = kidsRe.match(text);
    if (!catalog.hasMatch() || !kids.hasMatch()) return false;
    std::vector<int> pages;
    const QRegularExpression refRe(QStringLiteral("(\\d+)\\s+0\\s+R"));
    for (auto it = refRe.globalMatch(kids.captured(1)); it.hasNext();) pages.push_back(it.next().captured(1).toInt());
    if (pages.empty()) return false;

    int next = size.captured(1).toInt();
    const int outlinesNumber = next++;
    std::vector<int> numbers;
    for (std::size_t i = 0; i < marks.size(); ++i) numbers.push_back(next++);

    // Parents: a level-2 mark hangs under the nearest level-1 mark before it.
    std::vector<int> parent(marks.size(), -1);
    for (std::size_t i = 0, last = 0; i < marks.size(); ++i) {
        if (marks[i].level == 1) last = i;
        else if (marks[last].level == 1 && last < i) parent[i] = static_cast<int>(last);
    }
    const auto siblings = [&](int p) {
        std::vector<std::size_t> list;
        for (std::size_t i = 0; i < marks.size(); ++i)
            if (parent[i] == p) list.push_back(i);
        return list;
    };
    std::vector<ObjectRef> objects;
    const std::vector<std::size_t> top = siblings(-1);
    objects.push_back({outlinesNumber, "<< /Type /Outlines /First " + QByteArray::number(numbers[top.front()]) +
                                           " 0 R /Last " + QByteArray::number(numbers[top.back()]) + " 0 R /Count " +
                                           QByteArray::number(static_cast<int>(top.size())) + " >>"});
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const int p = parent[i];
        const std::vector<std::size_t> family = siblings(p);
        const auto at = std::find(family.begin(), family.end(), i) - family.begin();
        const std::vector<std::size_t> children = siblings(static_cast<int>(i));
        const int page = std::clamp(marks[i].page, 0, static_cast<int>(pages.size()) - 1);
        QByteArray body = "<< /Title " + PdfText(marks[i].title) + " /Parent " +
                          QByteArray::number(p < 0 ? outlinesNumber : numbers[static_cast<std::size_t>(p)]) + " 0 R";
        if (at > 0) body += " /Prev " + QByteArray::number(numbers[family[static_cast<std::size_t>(at - 1)]]) + " 0 R";
        if (static_cast<std::size_t>(at + 1) < family.size())
            body += " /Next " + QByteArray::number(numbers[family[static_cast<std::size_t>(at + 1)]]) + " 0 R";
        if (!children.empty())
            body += " /First " + QByteArray::number(numbers[children.front()]) + " 0 R /Last " +
                    QByteArray::number(numbers[children.back()]) + " 0 R /Count -" +
                    QByteArray::number(static_cast<int>(children.size()));
        body += " /Dest [" + QByteArray::number(pages[static_cast<std::size_t>(page)]) + " 0 R /XYZ null " +
                QByteArray::number(pageHeightPoints - marks[i].top + 6, 'f', 1) + " null] >>";
        objects.push_back({numbers[i], body});
    }
    objects.push_back({rootNumber, "<<" + catalog.captured(1).toLatin1() + " /Outlines " +
                                       QByteArray::number(outlinesNumber) + " 0 R /PageMode /UseOutlines >>"});

    if (!pdf.endsWith('\n')) pdf += '\n';
    std::map<int, qsizetype> offsets;
    for (const ObjectRef& object : objects) {
        offsets[object.number] = pdf.size();
        pdf += QByteArray::number(object.number) + " 0 obj\n" + object.body + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 1\n0000000000 65535 f \n";
    for (const auto& [number, offset] : offsets)
        pdf += QByteArray::number(number) + " 1\n" + QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(next) + " /Root " + QByteArray::number(rootNumber) + " 0 R";
    if (info.hasMatch()) pdf += " /Info " + info.captured(1).toLatin1() + " 0 R";
    pdf += " /Prev " + startxref.captured(1).toLatin1() + " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: vantrel-guide-pdf GUIDE.md OUT.pdf \"Header text\"\n");
        return 2;
    }
    bool ok = false;
    const QString guide = QString::fromLocal8Bit(argv[1]);
    const QString version = ProgramVersion();
    const QString markdown = ReadUtf8(guide, ok).replace(QLatin1String("@VERSION@"), version);
    if (!ok) {
        std::fprintf(stderr, "vantrel-guide-pdf: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString guideFolder = QFileInfo(guide).absolutePath();
    const QString header = QString::fromUtf8(argv[3]);

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    std::vector<Bookmark> bookmarks;
    double pageHeightPoints = 0;
    {
        QPdfWriter writer(&buffer);
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
            doc = BuildDocument(markdown, guideFolder, writer, page.size(), breaks);
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
            DrawPageFrame(painter, origin, header, version, number, count, mm);
            painter.save();
            painter.translate(0, -(number - 1) * page.height());
            doc->drawContents(&painter, origin.translated(0, (number - 1) * page.height()));
            painter.restore();
        }
        painter.end();
        const double pointsPerUnit = 72.0 / writer.resolution();
        pageHeightPoints = writer.pageLayout().fullRect(QPageLayout::Point).height();
        const double topMargin = writer.pageLayout().margins(QPageLayout::Point).top();
        bookmarks = Bookmarks(*doc, page.height(), pointsPerUnit, topMargin);
    }
    QByteArray pdf = buffer.data();
    if (!AddOutline(pdf, bookmarks, pageHeightPoints)) {
        std::fprintf(stderr, "vantrel-guide-pdf: the PDF has no page tree to hang bookmarks on\n");
        return 1;
    }
    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(pdf) != pdf.size() || !out.commit()) {
        std::fprintf(stderr, "vantrel-guide-pdf: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
