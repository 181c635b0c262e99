#pragma once

#include <QString>

class QTextDocument;

struct GuideLayout
{
    // Width of the text area in points; images wider than this are scaled down.
    qreal textWidth = 0;
    QString bodyFamily;
    QString codeFamily;
};

// Fills `document` from the Markdown text; images are looked up in `imageFolder`.
// Returns the names of referenced images that could not be loaded.
QStringList buildGuide(QTextDocument &document, const QString &markdown, const QString &imageFolder,
                       const GuideLayout &layout);
