#pragma once

// What the tests of "Prepare project" share: project directories laid out from
// a list, and the boxes a press shows, written out as the user reads them.

#include "test_session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMetaType>
#include <QStringList>

struct ExpectedBox
{
    QString title;
    QString text;
    Platform::Buttons buttons = Platform::Buttons::Ok;
    Platform::Answer answer = Platform::Answer::Ok;
};
Q_DECLARE_METATYPE(ExpectedBox)

using ExpectedBoxes = QList<ExpectedBox>;

namespace Script {

using Platform::Answer;
using Platform::Buttons;

// "{project}" in a box text stands for the project directory without its
// trailing "/", which only exists once the test runs.
inline constexpr QLatin1StringView projectToken{"{project}"};

inline ExpectedBox ok(const QString &title, const QString &text)
{
    return {title, text, Buttons::Ok, Answer::Ok};
}

inline ExpectedBox question(const QString &title, const QString &text, Answer answer)
{
    return {title, text, Buttons::YesNo, answer};
}

inline ExpectedBox error(const QString &text)
{
    return ok(QStringLiteral("KORVObinder error"), text);
}

inline ExpectedBox spacesReplaced()
{
    return ok(QStringLiteral("Error: unauthorized space(s) in scene name"),
              QStringLiteral("The space(s) have been replaced by '_' in your scene name"));
}

inline ExpectedBox dotsReplaced()
{
    return ok(QStringLiteral("Error: extra dots in scene name"),
              QStringLiteral("The extra dot(s) have been replaced by '_' in your scene name (only the extension dot "
                             "is authorized)"));
}

inline ExpectedBox nameTooLong(const QString &shortName, Answer answer)
{
    return question(QStringLiteral("Error: name too long"),
                    QStringLiteral("Your scene will be renamed to '") + shortName +
                        QStringLiteral("' (to prevent command-line length problems)"),
                    answer);
}

inline ExpectedBox renameTaken(const QString &from, const QString &to, const QString &folder)
{
    return error(QStringLiteral("The scene file '") + from + QStringLiteral("' cannot be renamed to '") + to +
                 QStringLiteral("': a file or folder of that name already exists in ") + folder +
                 QStringLiteral(". Please rename or remove one of them, then prepare the project again."));
}

inline ExpectedBox renameFailed(const QString &from, const QString &to, const QString &folder)
{
    return error(QStringLiteral("The scene file '") + from + QStringLiteral("' could not be renamed to '") + to +
                 QStringLiteral("' in ") + folder +
                 QStringLiteral(". Please check that the folder can be written to, then prepare the project again."));
}

inline ExpectedBox versionQuestion(Answer answer)
{
    return question(QStringLiteral("Lightwave version"),
                    QStringLiteral("Is it a Lightwave 10, 11, 2015 or 2018 project?"), answer);
}

inline ExpectedBox bitnessQuestion(Answer answer)
{
    return question(QStringLiteral("Lightwave compilation"), QStringLiteral("Is it a 64-bit project?"), answer);
}

// Where a press that passed every check ends when the base directory holds no 7za.
inline ExpectedBoxes archiveWithoutSevenZip()
{
    return {error(QStringLiteral("7za has not been found in the KORVObinder directory!\nYou will have to compress "
                                 "the files manually.")),
            error(QStringLiteral("An error occurred during the compression!"))};
}

inline ExpectedBox invalidProject(const QString &application, const QString &text)
{
    return ok(QStringLiteral("Error: not a valid ") + application + QStringLiteral(" project!"), text);
}

// The disclaimer answered Yes and the chooser answered with `chosen`, starting
// where the settings say.
inline void expectPress(TestSession &ts, const QString &chosen)
{
    ts.windows.expectMessage(QStringLiteral("Disclaimer"),
                             QStringLiteral("I have prepared this project following the KORVO for ") +
                                 ts.session->applicationName() + QStringLiteral(" PDF user guide instructions"),
                             Buttons::YesNo, Answer::Yes);
    ts.windows.expectDirectory(QStringLiteral("Select the main path of your project"),
                               ts.session->settings.lastDirectory, chosen);
}

inline void expectBoxes(TestSession &ts, const ExpectedBoxes &boxes, const QString &projectDirectory)
{
    const QString project = projectDirectory.endsWith(u'/') ? projectDirectory.chopped(1) : projectDirectory;
    for (const ExpectedBox &box : boxes) {
        ts.windows.expectMessage(box.title, QString(box.text).replace(projectToken, project), box.buttons, box.answer);
    }
}

// Lays out a project below `root`: an entry ending in "/" is a directory,
// "name -> target" a symbolic link, anything else an empty file.
inline bool buildProject(const QString &root, const QStringList &layout)
{
    if (!QDir().mkpath(root))
        return false;
    for (const QString &entry : layout) {
        const QString path = root + u'/' + entry.section(QStringLiteral(" -> "), 0, 0);
        bool made = false;
        if (entry.contains(QStringLiteral(" -> "))) {
            QDir().mkpath(QFileInfo(path).path());
            made = QFile::link(entry.section(QStringLiteral(" -> "), 1), path);
        } else if (entry.endsWith(u'/')) {
            made = QDir().mkpath(path);
        } else {
            made = writeFile(path, QByteArray());
        }
        if (!made)
            return false;
    }
    return true;
}

// A project directory with a blank in its path, laid out from `layout`; the
// path ends in "/".
inline QString newProject(const TestSession &ts, const QStringList &layout)
{
    const QString directory = ts.scratch() + QStringLiteral("/my project");
    return buildProject(directory, layout) ? directory + u'/' : QString();
}

// Checked apart from the platform's own test, so that the two cannot err together.
inline bool entryExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// A later press (the checklist already shown) of `application` on a new
// project laid out from `layout`; returns the project directory.
inline QString projectForLaterPress(TestSession &ts, const QString &application, const QStringList &layout)
{
    ts.choose(application);
    ts.session->checklistShown = true;
    return newProject(ts, layout);
}

} // namespace Script
