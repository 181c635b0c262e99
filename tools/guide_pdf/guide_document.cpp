#include "guide_document.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>
#include <algorithm>

namespace {

constexpr qreal bodyPointSize = 10.5;
// Point sizes of the heading levels 1 to 3.
constexpr qreal headingPointSizes[] = {22, 15, 12};
// Pictures never take more than this share of a page's height, so that the
// text around them stays on the same page.
constexpr qreal maximumImageHeightShare = 0.55;
// A heading needs this much room below it on its page, or it moves to the next.
constexpr qreal minimumTextBelowHeading = 48;
constexpr qreal shortParagraphHeight = 60;
constexpr int maximumPageMoves = 200;

void styleHeadings(QTextDocument &document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level < 1 || level > 3)
            continue;
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        format.setTopMargin(level == 1 ? 0 : 14);
        format.setBottomMargin(level == 1 ? 10 : 6);
        cursor.setBlockFormat(format);
        cursor.select(QTextCursor::BlockUnderCursor);
        QTextCharFormat characters;
        characters.setFontPointSize(headingPointSizes[level - 1]);
        characters.setFontWeight(QFont::Bold);
        characters.setForeground(QColor(level == 1 ? 0x1B3A5C : 0x23507F));
        cursor.mergeCharFormat(characters);
    }
}

void styleParagraphs(QTextDocument &document, const GuideLayout &layout)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        if (format.headingLevel() > 0)
            continue;
        QTextCursor cursor(block);
        if (format.nonBreakableLines()) {
            // A code block: a grey band in the fixed font.
            format.setBackground(QColor(0xF0F2F5));
            format.setLeftMargin(8);
            cursor.setBlockFormat(format);
            cursor.select(QTextCursor::BlockUnderCursor);
            QTextCharFormat characters;
            characters.setFontFamilies({layout.codeFamily});
            characters.setFontPointSize(bodyPointSize - 1);
            cursor.mergeCharFormat(characters);
            continue;
        }
        format.setLineHeight(120, QTextBlockFormat::ProportionalHeight);
        cursor.setBlockFormat(format);
    }
}

// Inline code comes from the importer in the platform's fixed font; the guide
// uses one fixed font throughout.
void styleInlineCode(QTextDocument &document, const GuideLayout &layout)
{
    const QString platformFixed = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    QList<std::pair<int, int>> ranges;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.fontFixedPitch() || format.fontFamilies().toStringList().contains(platformFixed))
                ranges.append({it.fragment().position(), it.fragment().length()});
        }
    }
    QTextCharFormat code;
    code.setFontFamilies({layout.codeFamily});
    for (const auto &[position, length] : ranges) {
        QTextCursor cursor(&document);
        cursor.setPosition(position);
        cursor.setPosition(position + length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(code);
    }
}

void styleTables(QTextDocument &document)
{
    QList<QTextTable *> tables;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextTable *table = QTextCursor(block).currentTable();
        if (table && !tables.contains(table))
            tables.append(table);
    }
    for (QTextTable *table : tables) {
        QTextTableFormat format = table->format();
        format.setBorder(0.5);
        format.setBorderBrush(QColor(0x9AA5B1));
        format.setBorderCollapse(true);
        format.setCellPadding(4);
        format.setCellSpacing(0);
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setHeaderRowCount(1);
        table->setFormat(format);
        // Rules between the rows only, and a shaded header row.
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                QTextTableCell cell = table->cellAt(row, column);
                QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
                cellFormat.setBottomBorder(row == 0 ? 1.0 : 0.5);
                cellFormat.setBottomBorderStyle(QTextFrameFormat::BorderStyle_Solid);
                cellFormat.setBottomBorderBrush(QColor(0x9AA5B1));
                if (row == 0)
                    cellFormat.setBackground(QColor(0xDCE5EF));
                cell.setFormat(cellFormat);
            }
        }
    }
}

int pageOf(qreal y, qreal pageHeight)
{
    return int(y / pageHeight);
}

// The first block of a heading that would sit at the foot of a page without
// the text it introduces, or of a table row that would be torn across two
// pages; null when the pages are fine.
QTextBlock firstPageProblem(QTextDocument &document)
{
    QAbstractTextDocumentLayout *layout = document.documentLayout();
    const qreal pageHeight = document.pageSize().height();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            continue;
        const QRectF rect = layout->blockBoundingRect(block);
        const int level = block.blockFormat().headingLevel();
        if (level > 1 && pageOf(rect.bottom() + minimumTextBelowHeading, pageHeight) != pageOf(rect.top(), pageHeight))
            return block;
        QTextTable *table = QTextCursor(block).currentTable();
        if (!table) {
            // A short paragraph is not split over two pages.
            if (rect.height() < shortParagraphHeight &&
                pageOf(rect.top(), pageHeight) != pageOf(rect.bottom() - 1, pageHeight))
                return block;
            continue;
        }
        const QTextTableCell cell = table->cellAt(block.position());
        if (cell.row() < table->format().headerRowCount() || cell.firstCursorPosition().block() != block)
            continue;
        qreal rowTop = rect.top();
        qreal rowBottom = rect.bottom();
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell neighbour = table->cellAt(cell.row(), column);
            for (QTextFrame::iterator it = neighbour.begin(); !it.atEnd(); ++it) {
                const QRectF part = layout->blockBoundingRect(it.currentBlock());
                rowTop = std::min(rowTop, part.top());
                rowBottom = std::max(rowBottom, part.bottom());
            }
        }
        if (pageOf(rowTop, pageHeight) != pageOf(rowBottom - 1, pageHeight))
            return block;
    }
    return {};
}

void breakBefore(const QTextBlock &block)
{
    QTextBlockFormat format = block.blockFormat();
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(block).setBlockFormat(format);
}

// A row torn by the page end moves to the next page: the row above it grows
// to the page end (a page break inside a cell would move the row twice), or,
// for the first row under the header, the whole table moves.
void moveRowToNextPage(QTextDocument &document, QTextTable *table, int row, qreal rowTop)
{
    if (row <= table->format().headerRowCount()) {
        QTextTableFormat format = table->format();
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        table->setFormat(format);
        return;
    }
    const qreal pageHeight = document.pageSize().height();
    const qreal growth = (pageOf(rowTop, pageHeight) + 1) * pageHeight - rowTop + 1;
    for (int column = 0; column < table->columns(); ++column) {
        QTextTableCell cell = table->cellAt(row - 1, column);
        QTextTableCellFormat format = cell.format().toTableCellFormat();
        const qreal padding = format.hasProperty(QTextFormat::TableCellBottomPadding) ? format.bottomPadding()
                                                                                      : table->format().cellPadding();
        format.setBottomPadding(padding + growth);
        cell.setFormat(format);
    }
}

// Moves headings and table rows that the page ends would cut off to the next
// page, one at a time, since every move shifts what follows it.
void keepTogether(QTextDocument &document)
{
    for (int moves = 0; moves < maximumPageMoves; ++moves) {
        const QTextBlock block = firstPageProblem(document);
        if (!block.isValid())
            return;
        QTextTable *table = QTextCursor(block).currentTable();
        if (!table) {
            breakBefore(block);
            continue;
        }
        const int row = table->cellAt(block.position()).row();
        qreal rowTop = document.documentLayout()->blockBoundingRect(block).top();
        for (int column = 0; column < table->columns(); ++column) {
            const QTextBlock first = table->cellAt(row, column).firstCursorPosition().block();
            rowTop = std::min(rowTop, document.documentLayout()->blockBoundingRect(first).top());
        }
        moveRowToNextPage(document, table, row, rowTop);
    }
}

// Loads every picture the text names and sizes it to fit the page; returns the names that failed.
QStringList placeImages(QTextDocument &document, const QString &imageFolder, const GuideLayout &layout)
{
    struct Placement
    {
        int position;
        int length;
        QTextImageFormat format;
    };
    QList<Placement> placements;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat())
                placements.append({fragment.position(), fragment.length(), fragment.charFormat().toImageFormat()});
        }
    }

    QStringList missing;
    const qreal maximumHeight = document.pageSize().height() * maximumImageHeightShare;
    for (Placement &placement : placements) {
        const QString name = placement.format.name();
        const QImage image(imageFolder + u'/' + QFileInfo(name).fileName());
        if (image.isNull()) {
            missing.append(name);
            continue;
        }
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);
        const qreal scale = std::min({1.0, layout.textWidth / image.width(), maximumHeight / image.height()});
        placement.format.setWidth(image.width() * scale);
        placement.format.setHeight(image.height() * scale);
        QTextCursor cursor(&document);
        cursor.setPosition(placement.position);
        cursor.setPosition(placement.position + placement.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(placement.format);
        QTextBlockFormat centred = cursor.blockFormat();
        centred.setAlignment(Qt::AlignHCenter);
        centred.setLineHeight(0, QTextBlockFormat::SingleHeight);
        centred.setTopMargin(6);
        cursor.setBlockFormat(centred);
        // The paragraph right under a picture is its caption.
        const QTextBlock caption = cursor.block().next();
        if (caption.isValid() && caption.blockFormat().headingLevel() == 0) {
            QTextCursor captionCursor(caption);
            QTextBlockFormat captionFormat = caption.blockFormat();
            captionFormat.setAlignment(Qt::AlignHCenter);
            captionCursor.setBlockFormat(captionFormat);
            captionCursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            QTextCharFormat small;
            small.setFontPointSize(bodyPointSize - 1.5);
            small.setForeground(QColor(0x4A5562));
            captionCursor.mergeCharFormat(small);
        }
    }
    return missing;
}

} // namespace

QStringList buildGuide(QTextDocument &document, const QString &markdown, const QString &imageFolder,
                       const GuideLayout &layout)
{
    QFont body(layout.bodyFamily);
    body.setPointSizeF(bodyPointSize);
    document.setDefaultFont(body);
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    styleHeadings(document);
    styleParagraphs(document, layout);
    styleInlineCode(document, layout);
    styleTables(document);
    const QStringList missing = placeImages(document, imageFolder, layout);
    keepTogether(document);
    return missing;
}
