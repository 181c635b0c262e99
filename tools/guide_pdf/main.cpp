// guide_pdf <guide.md> <image folder> <output.pdf> <title>
//
// Lays the user guide out on A4 pages with page numbers and writes it as PDF.
// Runs on any Qt platform plugin; the build uses "offscreen".

#include "guide_document.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>

namespace {

QString firstAvailable(const QStringList &families, QFontDatabase::SystemFont fallback)
{
    for (const QString &family : families) {
        if (QFontDatabase::hasFamily(family))
            return family;
    }
    return QFontDatabase::systemFont(fallback).family();
}

void fail(const QString &message)
{
    std::fprintf(stderr, "guide_pdf: %s\n", qPrintable(message));
}

void drawFooter(QPainter &painter, const QSizeF &page, const QString &title, int number, int count)
{
    QFont font = painter.font();
    font.setPointSizeF(8);
    painter.setFont(font);
    painter.setPen(QColor(0x6B7785));
    const QRectF line(0, page.height() + 10, page.width(), 12);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Page %1 of %2").arg(number).arg(count));
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 5) {
        fail(QStringLiteral("usage: guide_pdf <guide.md> <image folder> <output.pdf> <title>"));
        return 2;
    }
    const QString sourcePath = arguments.at(1);
    const QString imageFolder = arguments.at(2);
    const QString outputPath = arguments.at(3);
    const QString title = arguments.at(4);

    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("cannot read %1").arg(sourcePath));
        return 1;
    }
    const QString markdown = QString::fromUtf8(source.readAll());

    QPdfWriter writer(outputPath);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("KORVObinder"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 18, 20, 20), QPageLayout::Millimeter);
    // One device unit per point, so the layout below works in points.
    writer.setResolution(72);

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    const QSizeF page(writer.width(), writer.height());
    document.setPageSize(page);
    document.setDocumentMargin(0);

    GuideLayout layout;
    layout.textWidth = page.width();
    layout.bodyFamily = firstAvailable({QStringLiteral("DejaVu Sans"), QStringLiteral("Helvetica Neue"),
                                        QStringLiteral("Helvetica"), QStringLiteral("Arial")},
                                       QFontDatabase::GeneralFont);
    layout.codeFamily =
        firstAvailable({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Menlo"), QStringLiteral("Courier New")},
                       QFontDatabase::FixedFont);

    const QStringList missing = buildGuide(document, markdown, imageFolder, layout);
    for (const QString &name : missing)
        fail(QStringLiteral("warning: picture %1 not found in %2; the guide is written without it")
                 .arg(name, imageFolder));

    QPainter painter;
    if (!painter.begin(&writer)) {
        fail(QStringLiteral("cannot write %1").arg(outputPath));
        return 1;
    }
    const int pageCount = document.pageCount();
    for (int index = 0; index < pageCount; ++index) {
        if (index > 0)
            writer.newPage();
        const QRectF shown(0, index * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -shown.top());
        document.drawContents(&painter, shown);
        painter.restore();
        drawFooter(painter, page, title, index + 1, pageCount);
    }
    painter.end();
    return 0;
}
