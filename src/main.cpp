#include "build_config.h"
#include "platform/desktop_opener.h"
#include "platform/qt_window_system.h"
#include "shell/session.h"
#include "standard_actions.h"

#include <QApplication>

#include <cstdio>

namespace {

// Without a display Qt aborts with a terse message; tell the user how to get one.
bool displayAvailable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    if (!displayAvailable()) {
        std::fputs("KORVObinder needs a graphical display, and none was found (DISPLAY is not set).\n"
                   "Start it from a desktop session, or without one under a virtual display:\n"
                   "    xvfb-run -a KORVObinder\n",
                   stderr);
        return 1;
    }

    QApplication application(argc, argv);

    Platform::AppContext context;
    context.baseDirectory = QStringLiteral(KORVO_BASE_DIRECTORY);
    context.webHost = QStringLiteral(KORVO_WEB_HOST);
    context.publicUpdateHost = QStringLiteral(KORVO_PUBLIC_UPDATE_HOST);
    context.localUpdateHost = QStringLiteral(KORVO_LOCAL_UPDATE_HOST);
    context.locale = QLocale::system();

    Platform::QtWindowSystem windows;
    Platform::SystemDesktopOpener opener;
    Session session(context, windows, opener);
    return runProgram(session, standardActions());
}
