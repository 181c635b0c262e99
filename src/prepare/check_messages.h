#pragma once

#include <QString>
#include <QStringView>

// Every title and text shown while a project is checked, its scene renamed and
// its LightWave requirements looked at, in one place.
namespace CheckMessages {

struct Box
{
    QStringView title;
    QStringView text;
};

inline constexpr QStringView errorTitle = u"KORVObinder error";

// --- project check ---------------------------------------------------------

inline constexpr QStringView disclaimerTitle = u"Disclaimer";
inline QString disclaimerText(QStringView application)
{
    return u"I have prepared this project following the KORVO for " + application.toString() +
           u" PDF user guide instructions";
}
inline constexpr Box verificationNeeded{u"Warning: verification needed!",
                                        u"Then please do it before sending your project :)"};

inline constexpr QStringView directoryChooserTitle = u"Select the main path of your project";

inline QString invalidProjectTitle(QStringView application)
{
    return u"Error: not a valid " + application.toString() + u" project!";
}
inline constexpr QStringView noScenesSubdirectory = u"There is no 'scenes' subdirectory in your project directory!";
inline constexpr QStringView missingWorkspace = u"The 'workspace.mel' file is missing in your project directory!";

inline QString noScene(QStringView extension, bool inScenesSubdirectory)
{
    return u"There is no " + extension.toString() +
           (inScenesSubdirectory ? u" scene in the 'scenes' subdirectory!" : u" scene in the project directory!");
}
// The lone apostrophe before "project" is the wording users know.
inline QString severalScenes(QStringView extension, bool inScenesSubdirectory)
{
    return u"There are several " + extension.toString() +
           (inScenesSubdirectory ? u" scenes in the 'scenes' subdirectory!" : u" scenes in the 'project directory!");
}

// --- scene name --------------------------------------------------------------

inline constexpr Box spacesReplaced{u"Error: unauthorized space(s) in scene name",
                                    u"The space(s) have been replaced by '_' in your scene name"};
inline constexpr Box extraDotsReplaced{
    u"Error: extra dots in scene name",
    u"The extra dot(s) have been replaced by '_' in your scene name (only the extension dot is authorized)"};

inline constexpr QStringView nameTooLongTitle = u"Error: name too long";
inline QString nameTooLongText(const QString &shortenedName)
{
    return u"Your scene will be renamed to '" + shortenedName + u"' (to prevent command-line length problems)";
}

inline QString renameTargetTaken(const QString &oldName, const QString &newName, const QString &folder)
{
    return u"The scene file '" + oldName + u"' cannot be renamed to '" + newName +
           u"': a file or folder of that name already exists in " + folder +
           u". Please rename or remove one of them, then prepare the project again.";
}
inline QString renameFailed(const QString &oldName, const QString &newName, const QString &folder)
{
    return u"The scene file '" + oldName + u"' could not be renamed to '" + newName + u"' in " + folder +
           u". Please check that the folder can be written to, then prepare the project again.";
}

// --- LightWave requirements -------------------------------------------------

inline constexpr Box versionQuestion{u"Lightwave version", u"Is it a Lightwave 10, 11, 2015 or 2018 project?"};
inline constexpr Box bitnessQuestion{u"Lightwave compilation", u"Is it a 64-bit project?"};

inline constexpr QStringView radiosityForVersion10 =
    u"The radiosity directory must be called 'radiosity' with Lightwave version >= 10, please correct it.";
inline constexpr QStringView radiosityForVersion9 =
    u"The radiosity directory must be called 'radiositycache' with Lightwave 9.6, please correct it.";

inline constexpr QStringView missingConfig10Bit64 = u"Your LWEXT*-64.CFG file is needed in your project directory.";
inline constexpr QStringView missingConfig10Bit32 =
    u"The LWEXT10.CFG or LWEXT11.CFG file is needed in your project directory.";
inline constexpr QStringView missingConfig9Bit64 = u"The LWEXT9-64.CFG file is needed in your project directory.";
inline constexpr QStringView missingConfig9Bit32 = u"The LWEXT9.CFG file is needed in your project directory.";

} // namespace CheckMessages
