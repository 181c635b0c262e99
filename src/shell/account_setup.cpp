#include "account_setup.h"

#include "platform/window_system.h"
#include "session.h"
#include "shell_messages.h"

using Platform::Answer;
using Platform::Buttons;

namespace AccountSetup {

namespace {

void show(Platform::WindowSystem &windows, const ShellMessages::Box &box)
{
    windows.messageBox(box.title.toString(), box.text.toString(), Buttons::Ok);
}

// The field is always offered empty: the current value is never shown.
QString ask(Platform::WindowSystem &windows, const ShellMessages::Input &input)
{
    return windows.inputBox(input.title.toString(), input.prompt.toString(), QString());
}

// There is no way out but entering something.
QString askUntilGiven(Platform::WindowSystem &windows, const ShellMessages::Input &input)
{
    QString value;
    do {
        value = ask(windows, input);
    } while (value.isEmpty());
    return value;
}

} // namespace

bool firstRun(Session &session)
{
    Platform::WindowSystem &windows = session.windows;
    Settings &settings = session.settings;

    show(windows, ShellMessages::welcome);

    settings.login = ask(windows, ShellMessages::loginInput);
    if (settings.login.isEmpty()) {
        show(windows, ShellMessages::noLogin);
        return false;
    }

    settings.password = ask(windows, ShellMessages::passwordInput);
    if (settings.password.isEmpty()) {
        show(windows, ShellMessages::noPassword);
        return false;
    }

    settings.askUpdatePreference(windows);
    settings.updateServer = session.context.publicUpdateHost;

    if (!SettingsFile::save(session)) {
        show(windows, ShellMessages::noFile);
        return false;
    }
    return true;
}

void configure(Session &session)
{
    Platform::WindowSystem &windows = session.windows;
    Settings &settings = session.settings;

    settings.askUpdatePreference(windows);
    // A failure here is not reported: the choice holds for the run and the
    // shutdown tries to write it again.
    SettingsFile::save(session);

    const ShellMessages::Box &question = ShellMessages::modifyQuestion;
    if (windows.messageBox(question.title.toString(), question.text.toString(), Buttons::YesNo) != Answer::Yes)
        return;

    settings.login = askUntilGiven(windows, ShellMessages::loginInput);
    settings.password = askUntilGiven(windows, ShellMessages::passwordInput);

    show(windows, SettingsFile::save(session) ? ShellMessages::updated : ShellMessages::notUpdated);
}

} // namespace AccountSetup
