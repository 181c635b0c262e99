#pragma once

#include <QDateTime>

namespace Platform {

// Milliseconds from a monotonic clock, for measuring durations.
qint64 milliseconds();

QDateTime localDateTime();

// Gives the processor away for a while; for short pauses between polls.
void sleepMilliseconds(int milliseconds);

} // namespace Platform
