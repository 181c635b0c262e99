#pragma once

#include "shell/application_profile.h"

#include <QString>
#include <QStringView>

// The names a project is checked against: the applications with rules of their
// own, and the files and folders the farm expects. Paths are plain
// concatenations; `projectDirectory` always ends in "/".
namespace ProjectLayout {

inline constexpr QStringView maya = u"Maya";
inline constexpr QStringView lightwave = u"Lightwave";
inline constexpr QStringView cinema4d = u"Cinema4D";
inline constexpr QStringView terragen = u"Terragen";

inline constexpr QStringView scenesSubdirectory = u"scenes";
inline constexpr QStringView everyEntry = u"*.*";
inline constexpr QStringView mayaWorkspaceFile = u"workspace.mel";
// Cinema4D keeps referenced scenes beside the main one under this prefix.
inline constexpr QStringView cinema4dReferencePrefix = u"xref_";
// Terragen appends this when it gathers a project's files.
inline constexpr QStringView terragenGatheredText = u" (gathered)";

inline bool is(const ApplicationProfile &profile, QStringView name)
{
    return profile.name == name;
}

// The scene folder as it is listed and shown in the file manager ("scenes"
// without a trailing "/"); without a profile, the project directory itself.
inline QString sceneFolder(const QString &projectDirectory, const ApplicationProfile *profile)
{
    return profile && profile->inScenesSubdirectory ? projectDirectory + scenesSubdirectory.toString()
                                                    : projectDirectory;
}

// The prefix a scene file name is appended to.
inline QString sceneFolderPrefix(const QString &projectDirectory, const ApplicationProfile &profile)
{
    return profile.inScenesSubdirectory ? projectDirectory + scenesSubdirectory.toString() + u'/' : projectDirectory;
}

} // namespace ProjectLayout
