#include "lightwave_requirements.h"

#include "check_messages.h"
#include "platform/files.h"
#include "platform/window_system.h"
#include "shell/session.h"

#include <QList>

using Platform::Answer;
using Platform::Buttons;
namespace Files = Platform::Files;

namespace {

// All of these lie directly in the project directory.
constexpr QStringView radiosityDirectory = u"radiosity";
constexpr QStringView radiosityCacheDirectory = u"radiositycache";
constexpr QStringView pluginPattern = u"*.p";
constexpr QStringView config10Bit64Pattern = u"LWEXT*-64.CFG";
constexpr QStringView config10Bit32Names[] = {u"LWEXT10.CFG", u"LWEXT11.CFG"};
constexpr QStringView config9Bit64Name = u"LWEXT9-64.CFG";
constexpr QStringView config9Bit32Name = u"LWEXT9.CFG";

bool ask(Session &session, const CheckMessages::Box &box)
{
    return session.windows.messageBox(box.title.toString(), box.text.toString(), Buttons::YesNo) == Answer::Yes;
}

void showError(Session &session, QStringView text)
{
    session.windows.messageBox(CheckMessages::errorTitle.toString(), text.toString(), Buttons::Ok);
}

// A file of any size or a directory of that name will do.
bool exists(const QString &projectDirectory, QStringView name)
{
    return Files::fileSize(projectDirectory + name.toString()) != Files::Missing;
}

// False only when the listing opens and delivers nothing: a directory that
// cannot be listed does not hold the preparation back.
bool listingMayMatch(const QString &projectDirectory, QStringView pattern)
{
    QList<Files::DirectoryEntry> entries;
    return !Files::listDirectory(projectDirectory, pattern.toString(), entries) || !entries.isEmpty();
}

bool holdsPlugins(const QString &projectDirectory)
{
    QList<Files::DirectoryEntry> entries;
    return Files::listDirectory(projectDirectory, pluginPattern.toString(), entries) && !entries.isEmpty();
}

// The plug-in configuration file that the version and bitness call for; the
// text of the box to show when it is missing, or an empty text.
QStringView missingConfiguration(const QString &projectDirectory, bool version10, bool bit64)
{
    if (version10 && bit64) {
        return listingMayMatch(projectDirectory, config10Bit64Pattern) ? QStringView()
                                                                       : CheckMessages::missingConfig10Bit64;
    }
    if (version10) {
        for (QStringView name : config10Bit32Names) {
            if (exists(projectDirectory, name))
                return {};
        }
        return CheckMessages::missingConfig10Bit32;
    }
    if (bit64)
        return exists(projectDirectory, config9Bit64Name) ? QStringView() : CheckMessages::missingConfig9Bit64;
    return exists(projectDirectory, config9Bit32Name) ? QStringView() : CheckMessages::missingConfig9Bit32;
}

} // namespace

namespace LightwaveRequirements {

bool check(Session &session, const QString &projectDirectory)
{
    // Version 10 and later want "radiosity"; 9.6 wants "radiositycache". Only
    // the directory of the wrong name is looked for.
    const bool version10 = ask(session, CheckMessages::versionQuestion);
    const QStringView wrongRadiosity = version10 ? radiosityCacheDirectory : radiosityDirectory;
    if (Files::fileSize(projectDirectory + wrongRadiosity.toString()) == Files::IsDirectory) {
        showError(session, version10 ? CheckMessages::radiosityForVersion10 : CheckMessages::radiosityForVersion9);
        return false;
    }

    if (!holdsPlugins(projectDirectory))
        return true;

    const bool bit64 = ask(session, CheckMessages::bitnessQuestion);
    const QStringView missing = missingConfiguration(projectDirectory, version10, bit64);
    if (!missing.isEmpty()) {
        showError(session, missing);
        return false;
    }
    return true;
}

} // namespace LightwaveRequirements
