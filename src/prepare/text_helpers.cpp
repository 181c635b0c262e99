#include "text_helpers.h"

namespace {

// Position of the first occurrence counted from 1, or 0 when there is none or
// either text is empty.
qsizetype firstPosition(const QString &text, const QString &separator)
{
    if (text.isEmpty() || separator.isEmpty())
        return 0;
    return text.indexOf(separator) + 1;
}

} // namespace

QString TextBefore(const QString &text, const QString &separator)
{
    const qsizetype p = firstPosition(text, separator);
    // With no separator the tail is the whole text, and removing it leaves nothing.
    const QString tail = p == 0 ? text : text.right(text.size() - p + 1);
    return QString(text).remove(tail);
}

QString TextAfter(const QString &text, const QString &separator)
{
    const qsizetype p = firstPosition(text, separator);
    const qsizetype headLength = qBound<qsizetype>(0, p + separator.size() - 1, text.size());
    const QString head = text.left(headLength);
    if (head.isEmpty())
        return text;
    // Every occurrence of the head goes, scanning from the left without overlap.
    return QString(text).remove(head);
}
