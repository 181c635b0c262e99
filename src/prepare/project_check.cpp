#include "project_check.h"

#include "archive_builder.h"
#include "check_messages.h"
#include "lightwave_requirements.h"
#include "platform/desktop_opener.h"
#include "platform/files.h"
#include "platform/window_system.h"
#include "project_layout.h"
#include "scene_name.h"
#include "shell/session.h"

#include <QList>

using Platform::Answer;
using Platform::Buttons;
namespace Files = Platform::Files;

namespace {

struct SceneScan
{
    int count = 0;
    // The entry counted last; used only when it is the one.
    QString sceneName;
};

// The checklist opens on the first press of the run only, however that press ends.
void openChecklistOnce(Session &session)
{
    if (session.checklistShown)
        return;
    if (session.application)
        session.opener.open(session.context.baseDirectory + session.application->checklistFile.toString());
    session.checklistShown = true;
}

bool confirmDisclaimer(Session &session)
{
    const Answer answer =
        session.windows.messageBox(CheckMessages::disclaimerTitle.toString(),
                                   CheckMessages::disclaimerText(session.applicationName()), Buttons::YesNo);
    if (answer == Answer::Yes)
        return true;
    session.windows.messageBox(CheckMessages::verificationNeeded.title.toString(),
                               CheckMessages::verificationNeeded.text.toString(), Buttons::Ok);
    return false;
}

// The chosen directory, ending in "/", or an empty text when the user cancels.
// It becomes the chooser's next starting point at once, whatever the checks say.
QString chooseProjectDirectory(Session &session)
{
    QString directory = session.windows.chooseDirectory(CheckMessages::directoryChooserTitle.toString(),
                                                        session.settings.lastDirectory);
    if (directory.isEmpty())
        return {};
    if (!directory.endsWith(u'/'))
        directory += u'/';
    session.settings.lastDirectory = directory;
    return directory;
}

// Tells the user what is wrong and shows the folder in question.
void rejectProject(Session &session, const QString &text, const QString &folderToShow)
{
    session.windows.messageBox(CheckMessages::invalidProjectTitle(session.applicationName()), text, Buttons::Ok);
    session.opener.open(folderToShow);
}

bool layoutIsValid(Session &session, const QString &projectDirectory)
{
    const ApplicationProfile *profile = session.application;
    if (!profile)
        return true;
    if (profile->inScenesSubdirectory) {
        QList<Files::DirectoryEntry> entries;
        if (!Files::listDirectory(ProjectLayout::sceneFolder(projectDirectory, profile),
                                  ProjectLayout::everyEntry.toString(), entries)) {
            rejectProject(session, CheckMessages::noScenesSubdirectory.toString(), projectDirectory);
            return false;
        }
    }
    if (ProjectLayout::is(*profile, ProjectLayout::maya) &&
        Files::fileSize(projectDirectory + ProjectLayout::mayaWorkspaceFile.toString()) == Files::Missing) {
        rejectProject(session, CheckMessages::missingWorkspace.toString(), projectDirectory);
        return false;
    }
    return true;
}

// The top level of the scene folder only; directories never count, nor do
// Cinema4D's referenced scenes.
SceneScan scanScenes(const QString &sceneFolder, const ApplicationProfile *profile)
{
    SceneScan scan;
    if (!profile)
        return scan;
    QList<Files::DirectoryEntry> entries;
    Files::listDirectory(sceneFolder, profile->scenePattern.toString(), entries);
    const bool skipReferences = ProjectLayout::is(*profile, ProjectLayout::cinema4d);
    for (const Files::DirectoryEntry &entry : std::as_const(entries)) {
        if (entry.isDirectory)
            continue;
        if (skipReferences && entry.name.startsWith(ProjectLayout::cinema4dReferencePrefix))
            continue;
        ++scan.count;
        scan.sceneName = entry.name;
    }
    return scan;
}

bool sceneCountIsValid(Session &session, const SceneScan &scan, const QString &sceneFolder)
{
    if (scan.count == 1)
        return true;
    const ApplicationProfile *profile = session.application;
    const QStringView extension = profile ? profile->sceneExtension : QStringView();
    const bool inScenes = profile && profile->inScenesSubdirectory;
    rejectProject(session,
                  scan.count == 0 ? CheckMessages::noScene(extension, inScenes)
                                  : CheckMessages::severalScenes(extension, inScenes),
                  sceneFolder);
    return false;
}

} // namespace

namespace ProjectCheck {

void prepareProject(Session &session)
{
    openChecklistOnce(session);
    if (!confirmDisclaimer(session))
        return;

    const QString projectDirectory = chooseProjectDirectory(session);
    if (projectDirectory.isEmpty() || !layoutIsValid(session, projectDirectory))
        return;

    const QString sceneFolder = ProjectLayout::sceneFolder(projectDirectory, session.application);
    const SceneScan scan = scanScenes(sceneFolder, session.application);
    if (!sceneCountIsValid(session, scan, sceneFolder))
        return;

    // One scene was found, so there is a current application.
    const ApplicationProfile &profile = *session.application;
    QString sceneName = scan.sceneName;
    if (!SceneName::normalise(session, projectDirectory, profile, sceneName))
        return;
    if (ProjectLayout::is(profile, ProjectLayout::lightwave) &&
        !LightwaveRequirements::check(session, projectDirectory))
        return;
    ArchiveBuilder::buildArchive(session, projectDirectory, sceneName, profile);
}

} // namespace ProjectCheck
