#pragma once

// What the shell's flow tests share: handlers that record their calls instead
// of preparing projects or opening web pages, and the settings file's bytes.

#include "scripted_window_system.h"
#include "shell/credential_block.h"
#include "shell/program.h"
#include "shell/session.h"
#include "test_session.h"

#include <QDir>
#include <QRect>
#include <QStringList>

struct ActionRecorder
{
    ActionRecorder() = default;
    explicit ActionRecorder(const ScriptedWindowSystem &windows)
        : windows(&windows)
    {}

    // When given, the windows open at each update check are counted.
    const ScriptedWindowSystem *windows = nullptr;
    QStringList calls;
    QList<int> windowsOpenAtUpdateCheck;
    Continuation updateOutcome = Continuation::Continue;
    // Runs inside the About handler, for tests that change the world mid-run.
    std::function<void(Session &)> duringAbout;

    Actions actions()
    {
        Actions actions;
        actions.prepareProject = recorder(QStringLiteral("prepareProject"));
        actions.upload = recorder(QStringLiteral("upload"));
        actions.logo = recorder(QStringLiteral("logo"));
        actions.priceInfo = recorder(QStringLiteral("priceInfo"));
        actions.estimate = recorder(QStringLiteral("estimate"));
        actions.readHelp = recorder(QStringLiteral("readHelp"));
        actions.about = [this](Session &session) {
            calls.append(QStringLiteral("about"));
            if (duringAbout)
                duringAbout(session);
        };
        actions.checkForUpdates = [this](Session &, int showUpToDate) {
            calls.append(QStringLiteral("checkForUpdates(%1)").arg(showUpToDate));
            if (windows)
                windowsOpenAtUpdateCheck.append(int(windows->openWindows.size()));
            return updateOutcome;
        };
        return actions;
    }

private:
    std::function<void(Session &)> recorder(const QString &name)
    {
        return [this, name](Session &) { calls.append(name); };
    }
};

inline QString iniPath(const TestSession &ts)
{
    return ts.base() + QStringLiteral("/KORVObinder.ini");
}

struct StoredSettings
{
    QString login;
    QString password;
    QString lastDirectory;
    QString checkForUpdates;
    QString updateServer;
};

// The ten lines of the settings file, each ended by `lineEnd`.
inline QByteArray settingsFileBytes(const StoredSettings &values, const QByteArray &lineEnd = "\n")
{
    const QStringList lines{
        QStringLiteral(";KORVO login (crypted - do not modify)"),
        CredentialBlock::encode(values.login),
        QStringLiteral(";KORVO password (crypted - do not modify)"),
        CredentialBlock::encode(values.password),
        QStringLiteral(";Last directory from previous session"),
        values.lastDirectory,
        QStringLiteral(";Check for updates?"),
        values.checkForUpdates,
        QStringLiteral(";Update server"),
        values.updateServer,
    };
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + lineEnd;
    return bytes;
}

// Line `number` (counted from 1) of the settings file as it is on disk.
inline QString settingsLine(const TestSession &ts, int number)
{
    const QList<QByteArray> lines = readFile(iniPath(ts)).split('\n');
    return number <= lines.size() ? QString::fromUtf8(lines.at(number - 1)) : QString();
}

// Turns the settings file into a directory, so that it can no longer be created.
inline bool blockSettingsFile(const TestSession &ts)
{
    QFile::remove(iniPath(ts));
    return QDir().mkpath(iniPath(ts));
}

namespace Expect {

inline void updateQuestion(ScriptedWindowSystem &windows, Platform::Answer answer, std::function<void()> during = {})
{
    windows.expectMessage(QStringLiteral("Check for updates"),
                          QStringLiteral("Do you want KORVObinder to check for updates automatically (highly "
                                         "recommended)?"),
                          Platform::Buttons::YesNo, answer, std::move(during));
}

inline void noFileBox(ScriptedWindowSystem &windows)
{
    windows.expectMessage(QStringLiteral("KORVObinder error"),
                          QStringLiteral("The initialisation file cannot be created! KORVObinder will now quit"),
                          Platform::Buttons::Ok);
}

inline void loginInput(ScriptedWindowSystem &windows, const QString &answer)
{
    windows.expectInput(QStringLiteral("KORVO login"), QStringLiteral("Please enter your KORVO login:"), answer);
}

inline void passwordInput(ScriptedWindowSystem &windows, const QString &answer)
{
    windows.expectInput(QStringLiteral("KORVO password"), QStringLiteral("Please enter your KORVO password:"), answer);
}

} // namespace Expect

// The chooser's "LIGHTWAVE" button.
constexpr int lightwaveButton = 22;

// The main window's buttons as the window must show them, in creation order.
struct ExpectedButton
{
    int number;
    QRect geometry;
    QString caption;
};

inline QList<ExpectedButton> expectedMainButtons()
{
    return {
        {5, QRect(6, 572, 136, 18), QStringLiteral("Prepare project")},
        {7, QRect(151, 572, 136, 18), QStringLiteral("Estimate")},
        {4, QRect(296, 572, 132, 18), QStringLiteral("Upload")},
        {8, QRect(6, 594, 76, 18), QStringLiteral("Price info")},
        {11, QRect(90, 594, 70, 18), QStringLiteral("Config")},
        {10, QRect(170, 594, 128, 18), QStringLiteral("Read Help")},
        {9, QRect(306, 594, 56, 18), QStringLiteral("About")},
        {12, QRect(370, 594, 66, 18), QStringLiteral("Updates")},
    };
}
