#include "settings.h"

#include "credential_block.h"
#include "platform/files.h"
#include "platform/window_system.h"
#include "session.h"
#include "settings_messages.h"

namespace {

constexpr int LineCount = 10;

bool holdsLineEnd(const QString &value)
{
    return value.contains(u'\n') || value.contains(u'\r') || value.contains(QChar(0));
}

// A folder name may hold a line break, which would shift every later line of
// the file; such a directory is not remembered and the chooser starts in the
// base directory next time.
QString storableLastDirectory(const Session &session)
{
    const QString &directory = session.settings.lastDirectory;
    return holdsLineEnd(directory) ? session.context.baseDirectory : directory;
}

} // namespace

void Settings::askUpdatePreference(Platform::WindowSystem &windows)
{
    const Platform::Answer answer = windows.messageBox(SettingsText::updateQuestionTitle,
                                                       SettingsText::updateQuestionText, Platform::Buttons::YesNo);
    checkForUpdates = answer == Platform::Answer::Yes ? SettingsText::yes : SettingsText::no;
}

namespace SettingsFile {

QString path(const QString &baseDirectory)
{
    return baseDirectory + SettingsText::fileName;
}

bool load(Session &session)
{
    Platform::Files::TextFileReader reader;
    if (!reader.open(path(session.context.baseDirectory)))
        return false;

    QStringList lines;
    for (int i = 0; i < LineCount; ++i)
        lines.append(reader.readLine());

    Settings &settings = session.settings;
    settings.login = CredentialBlock::decode(lines.at(1));
    settings.password = CredentialBlock::decode(lines.at(3));
    settings.lastDirectory = lines.at(5);
    settings.checkForUpdates = lines.at(7);
    settings.updateServer = lines.at(9);

    // Missing values are completed and written back at once; a failing save
    // here is not worth a message, the shutdown tries again.
    if (settings.checkForUpdates.isEmpty()) {
        settings.askUpdatePreference(session.windows);
        save(session);
    }
    if (settings.updateServer.isEmpty()) {
        settings.updateServer = session.context.publicUpdateHost;
        save(session);
    }
    return true;
}

bool save(const Session &session)
{
    const Settings &settings = session.settings;
    const QStringList lines{
        SettingsText::loginComment,           CredentialBlock::encode(settings.login),
        SettingsText::passwordComment,        CredentialBlock::encode(settings.password),
        SettingsText::lastDirectoryComment,   storableLastDirectory(session),
        SettingsText::checkForUpdatesComment, settings.checkForUpdates,
        SettingsText::updateServerComment,    settings.updateServer,
    };
    // The file holds the password: owner only, and never left half-written.
    return Platform::Files::writeTextFileAtomically(path(session.context.baseDirectory), lines, 0600);
}

} // namespace SettingsFile
