#include "program.h"

#include "account_setup.h"
#include "application_chooser.h"
#include "event_loop.h"
#include "logo.h"
#include "main_window.h"
#include "platform/files.h"
#include "platform/window_system.h"
#include "session.h"
#include "shell_messages.h"

namespace {

constexpr int exitStatus = 0;
constexpr int automaticCheck = 0;

// Only these two folders are made; a failure shows later, when files there cannot be created.
void ensureDirectory(const QString &path)
{
    if (!Platform::Files::isDirectory(path))
        Platform::Files::createDirectory(path);
}

// Up to the choice of the application. False when the program must end
// without saving: the first run gave up, an update download completed, the
// main window could not be opened, or a window was closed instead of a choice.
bool startUp(Session &session, const Actions &actions)
{
    const Logo logo = decodeLogo(session.windows, embeddedLogo());

    Settings &settings = session.settings;
    settings.checkForUpdates.clear();

    const QString &base = session.context.baseDirectory;
    ensureDirectory(base);
    ensureDirectory(base + QStringLiteral("/archive"));
    settings.lastDirectory = base;

    if (!SettingsFile::load(session) && !AccountSetup::firstRun(session))
        return false;

    // Exactly "Yes": any other text, "yes" included, skips the check.
    if (settings.checkForUpdates == QLatin1String("Yes") && actions.checkForUpdates &&
        actions.checkForUpdates(session, automaticCheck) == Continuation::EndProgram)
        return false;

    session.checklistShown = false;

    if (!MainWindow::open(session, logo.image, logo.size))
        return false;
    return ApplicationChooser::choose(session) == Continuation::Continue;
}

void shutDown(Session &session)
{
    session.windows.closeWindow(Window::Main);
    if (!SettingsFile::save(session)) {
        const ShellMessages::Box &box = ShellMessages::noFile;
        session.windows.messageBox(box.title.toString(), box.text.toString(), Platform::Buttons::Ok);
    }
}

} // namespace

int runProgram(Session &session, const Actions &actions)
{
    if (!startUp(session, actions))
        return exitStatus;
    if (runEventLoop(session, actions) == Continuation::EndProgram)
        return exitStatus;
    shutDown(session);
    return exitStatus;
}
