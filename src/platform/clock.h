#pragma once

#include <QDateTime>

namespace Platform {

// Milliseconds from a monotonic clock, for measuring durations.
qint64 milliseconds();

QDateTime localDateTime();

} // namespace Platform
