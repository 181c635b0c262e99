#include "clock.h"

#include <QElapsedTimer>
#include <QThread>

namespace Platform {

namespace {

// Started with the program, so every reading is taken against the same origin.
const QElapsedTimer programClock = [] {
    QElapsedTimer timer;
    timer.start();
    return timer;
}();

} // namespace

qint64 milliseconds()
{
    return programClock.elapsed();
}

QDateTime localDateTime()
{
    return QDateTime::currentDateTime();
}

void sleepMilliseconds(int milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

} // namespace Platform
