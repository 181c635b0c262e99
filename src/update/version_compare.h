#pragma once

#include <QString>

// True when `own` sorts before `server`: UTF-16 code units compared from the
// left as signed 16-bit numbers, a proper prefix before the longer text.
// Nothing is read as a number, so 1.6 is less than 1.7 but not less than 1.10.
bool versionIsOlder(const QString &own, const QString &server);
