#pragma once

#include <QLocale>
#include <QString>

namespace Platform {

// Bounds on the update client's waits, so that a silent server never hangs the program.
struct UpdateLimits
{
    int connectMilliseconds = 15000;
    int replyMilliseconds = 30000;
    int transferStallMilliseconds = 60000;
};

// The program-wide values that every component receives from one place, so
// that tests can run the whole program against a temporary base directory.
struct AppContext
{
    QString programVersion = QStringLiteral("1.6");
    QString baseDirectory;
    QString webHost;
    QString publicUpdateHost;
    QString localUpdateHost;
    quint16 updatePort = 6789;
    UpdateLimits updateLimits;
    QLocale locale = QLocale::c();
};

} // namespace Platform
