#pragma once

#include <QtGlobal>

// The resident memory of this process, from /proc/self/status (Linux), in KiB;
// -1 where it cannot be read.
namespace ProcessMemory {

qint64 residentKiB();
// The peak since the start or since the last resetPeak().
qint64 peakResidentKiB();
// Starts a new peak at the present resident size; false where the system cannot.
bool resetPeak();

} // namespace ProcessMemory
