#include "scene_name.h"

#include "check_messages.h"
#include "platform/files.h"
#include "platform/window_system.h"
#include "project_layout.h"
#include "shell/session.h"
#include "text_helpers.h"

using Platform::Buttons;

namespace {

// Renames within the scene folder, never over an existing entry; on failure the
// user is told which file could not be renamed and why, and the caller stops.
bool renameScene(Session &session, const QString &folderPrefix, const QString &from, const QString &to)
{
    if (Platform::Files::renameFileNoReplace(folderPrefix + from, folderPrefix + to))
        return true;
    QString folder = folderPrefix;
    if (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    const QString text = Platform::Files::entryExists(folderPrefix + to)
                             ? CheckMessages::renameTargetTaken(from, to, folder)
                             : CheckMessages::renameFailed(from, to, folder);
    session.windows.messageBox(CheckMessages::errorTitle.toString(), text, Buttons::Ok);
    return false;
}

void inform(Session &session, const CheckMessages::Box &box)
{
    session.windows.messageBox(box.title.toString(), box.text.toString(), Buttons::Ok);
}

} // namespace

namespace SceneName {

QString withoutGatheredText(const QString &name)
{
    return QString(name).remove(ProjectLayout::terragenGatheredText.toString());
}

QString withUnderscores(const QString &name)
{
    return QString(name).replace(u' ', u'_');
}

QString withoutExtraDots(const QString &name, QStringView extension)
{
    QString result = name;
    result.remove(extension.toString(), Qt::CaseInsensitive);
    result.replace(u'.', u'_');
    return result + extension.toString().toLower();
}

QString shortened(const QString &name, QStringView extension)
{
    if (TextBefore(name, QStringLiteral(".")).size() <= maximumBaseLength)
        return {};
    return name.left(maximumBaseLength) + extension.toString().toLower();
}

bool normalise(Session &session, const QString &projectDirectory, const ApplicationProfile &profile, QString &sceneName)
{
    const QString prefix = ProjectLayout::sceneFolderPrefix(projectDirectory, profile);

    if (ProjectLayout::is(profile, ProjectLayout::terragen)) {
        const QString newName = withoutGatheredText(sceneName);
        if (newName != sceneName) {
            if (!renameScene(session, prefix, sceneName, newName))
                return false;
            sceneName = newName;
        }
    }

    // These two renames inform: the file has its new name before the box shows.
    if (sceneName.contains(u' ')) {
        const QString newName = withUnderscores(sceneName);
        if (!renameScene(session, prefix, sceneName, newName))
            return false;
        sceneName = newName;
        inform(session, CheckMessages::spacesReplaced);
    }

    if (sceneName.count(u'.') > 1) {
        const QString newName = withoutExtraDots(sceneName, profile.sceneExtension);
        if (!renameScene(session, prefix, sceneName, newName))
            return false;
        sceneName = newName;
        inform(session, CheckMessages::extraDotsReplaced);
    }

    // The shortening asks first. The archive cuts its name from `sceneName` to
    // the same length, so `sceneName` stays as it is.
    const QString shortName = shortened(sceneName, profile.sceneExtension);
    if (!shortName.isEmpty()) {
        const Platform::Answer answer = session.windows.messageBox(
            CheckMessages::nameTooLongTitle.toString(), CheckMessages::nameTooLongText(shortName), Buttons::YesNo);
        if (answer != Platform::Answer::Yes)
            return false;
        if (!renameScene(session, prefix, sceneName, shortName))
            return false;
    }
    return true;
}

} // namespace SceneName
