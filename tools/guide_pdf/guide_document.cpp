#include "guide_document.h"

#include <QFileInfo>
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

void styleHeadings(QTextDocument &document)
{
    bool firstChapter = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level < 1 || level > 3)
            continue;
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        format.setTopMargin(level == 1 ? 0 : 14);
        format.setBottomMargin(level == 1 ? 10 : 6);
        // Every chapter starts on a page of its own, so no heading is left
        // alone at the foot of a page.
        if (level == 2) {
            if (!firstChapter)
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            firstChapter = false;
        }
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
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(0, column);
            QTextCharFormat header = cell.format();
            header.setBackground(QColor(0xDCE5EF));
            cell.setFormat(header);
        }
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
        cursor.setBlockFormat(centred);
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
    styleTables(document);
    return placeImages(document, imageFolder, layout);
}
