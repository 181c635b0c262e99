#pragma once

#include <QString>

// The text before the first occurrence of `separator`; empty when it does not
// occur (or either text is empty).
QString TextBefore(const QString &text, const QString &separator);

// The text with every occurrence of its head up to and including the first
// `separator` removed; usually simply the text after the first separator.
QString TextAfter(const QString &text, const QString &separator);
