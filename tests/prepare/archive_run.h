#pragma once

// What the archive tests share: a base directory with the main window's
// gadgets, real projects on disk, the boxes of archive building, what the real
// 7za lists in an archive, and the log lines with the moment-dependent parts
// (date, seconds) replaced by placeholders.

#include "shell/application_profile.h"
#include "shell/main_window.h"
#include "test_session.h"

#include <QDir>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

namespace ArchiveTest {

using Platform::Answer;
using Platform::Buttons;

inline const QString errorTitle = QStringLiteral("KORVObinder error");
inline const QString sevenZipMissingText = QStringLiteral(
    "7za has not been found in the KORVObinder directory!\nYou will have to compress the files manually.");
inline const QString failureText = QStringLiteral("An error occurred during the compression!");

// The gadgets of the main window that the busy switch turns off and on again.
inline const QList<int> busyGadgets{Gadget::Upload, Gadget::Estimate, Gadget::PriceInfo,
                                    Gadget::About,  Gadget::ReadHelp, Gadget::Config};
inline const QList<int> keptGadgets{Gadget::PrepareProject, Gadget::Updates};

// A run of the program in miniature, the main window open and an archive folder
// as start-up leaves it.
struct Fixture
{
    explicit Fixture(const QString &application = QStringLiteral("Lightwave"))
    {
        ts.choose(application);
        MainWindow::open(*ts.session, 0, QSize());
        QDir().mkpath(archiveFolder());
        project = ts.scratch() + QStringLiteral("/project/");
        QDir().mkpath(project);
    }

    QString base() const { return ts.base(); }
    QString archiveFolder() const { return ts.base() + QStringLiteral("/archive"); }
    QString archive(const QString &fileName) const { return archiveFolder() + u'/' + fileName; }
    const ApplicationProfile &profile() const { return *ts.session->application; }

    // Writes the files (relative path, content) below the project directory.
    bool addFiles(const QMap<QString, QByteArray> &files) const
    {
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            if (!writeFile(project + it.key(), it.value()))
                return false;
        }
        return true;
    }

    void expectQuestion(Answer answer, std::function<void()> during = {})
    {
        ts.windows.expectMessage(QStringLiteral("Compression level"),
                                 QStringLiteral("Maximum compression? (if No, maximum speed)"), Buttons::YesNo, answer,
                                 std::move(during));
    }
    void expectFailureBox() { ts.windows.expectMessage(errorTitle, failureText, Buttons::Ok); }

    QStringList boxLines() const { return ts.windows.lines(Gadget::LogBox); }

    TestSession ts;
    QString project;
};

// Random bytes do not compress, so 7za takes its time over them.
inline QByteArray incompressible(int size, quint32 seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = seed;
    for (char &byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = char(state >> 24);
    }
    return bytes;
}

struct Listing
{
    QString type;
    QSet<QString> files;
    QSet<QString> folders;
};

// What `7za l -slt` says about an archive: its format and its entries.
inline Listing list(const QString &archive)
{
    QProcess sevenZip;
    sevenZip.start(sevenZipProgram(), {QStringLiteral("l"), QStringLiteral("-slt"), archive});
    sevenZip.waitForFinished(-1);
    Listing listing;
    bool inEntries = false;
    QString path;
    const QStringList lines = QString::fromUtf8(sevenZip.readAllStandardOutput()).split(u'\n');
    for (QString line : lines) {
        line.remove(u'\r');
        if (line == QLatin1String("----------")) {
            inEntries = true;
        } else if (!inEntries && line.startsWith(QLatin1String("Type = "))) {
            listing.type = line.mid(7);
        } else if (inEntries && line.startsWith(QLatin1String("Path = "))) {
            path = line.mid(7);
            listing.files.insert(path);
        } else if (inEntries &&
                   (line == QLatin1String("Folder = +") || line.startsWith(QLatin1String("Attributes = D")))) {
            listing.files.remove(path);
            listing.folders.insert(path);
        }
    }
    return listing;
}

// One file's bytes as 7za extracts them from the archive.
inline QByteArray extract(const QString &archive, const QString &entry)
{
    QProcess sevenZip;
    sevenZip.start(sevenZipProgram(), {QStringLiteral("e"), QStringLiteral("-so"), archive, entry});
    sevenZip.waitForFinished(-1);
    return sevenZip.readAllStandardOutput();
}

// Log lines with the date line and (unless `keepSeconds`) the elapsed seconds
// replaced by "{date}" and "{seconds}", once they have been checked to have their form.
inline QStringList normalised(const QStringList &lines, bool keepSeconds = false)
{
    static const QRegularExpression date(QStringLiteral(
        "^Date: \\d{4}-(0[1-9]|1[0-2])-(0[1-9]|[12]\\d|3[01]) - Hour: ([01]\\d|2[0-3]):[0-5]\\d:[0-5]\\d$"));
    static const QRegularExpression seconds(
        QStringLiteral("^(The project has been successfully compressed in )\\d+( seconds\\.)$"));
    QStringList result;
    for (QString line : lines) {
        if (date.match(line).hasMatch())
            line = QStringLiteral("{date}");
        if (!keepSeconds)
            line.replace(seconds, QStringLiteral("\\1{seconds}\\2"));
        result.append(line);
    }
    return result;
}

// Splits a log file's bytes into lines; the file must end with a line feed.
inline QStringList fileLines(const QByteArray &bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

inline QStringList successBox(const QString &base, const QString &archiveName)
{
    return {QStringLiteral("{date}"),
            QStringLiteral("KORVObinder is gathering all files in the project directory..."),
            QString(),
            QStringLiteral("KORVObinder is compressing the project (please wait)..."),
            QString(),
            QStringLiteral("The project has been successfully compressed in {seconds} seconds."),
            QString(),
            QStringLiteral("Project prepared in ") + base + QStringLiteral("/archive."),
            QStringLiteral("Project name: ") + archiveName,
            QStringLiteral("Project archive size: 0.00 MB"),
            QString(),
            QStringLiteral("Your project is now ready to render!"),
            QString()};
}

inline QStringList successFile(const QString &base, const QString &archiveName)
{
    return {QStringLiteral("KORVObinder v1.6"),
            QStringLiteral("{date}"),
            QStringLiteral("KORVObinder is gathering all files in the project directory..."),
            QString(),
            QStringLiteral("KORVObinder is compressing the project..."),
            QString(),
            QStringLiteral("The project has been successfully compressed in {seconds} seconds."),
            QString(),
            QStringLiteral("The project has been prepared in ") + base + QStringLiteral("/archive."),
            QStringLiteral("Project name: ") + archiveName,
            QStringLiteral("Project archive size: 0.00 MB"),
            QString(),
            QStringLiteral("Your project is now ready to render!")};
}

inline const QStringList failureLines{QStringLiteral("An error occurred during the compression:"),
                                      QStringLiteral("   the project HAS NOT BEEN prepared sucessfully!"), QString()};

// The first lines of the box and of the file up to the blank line after the
// compressing notice (or, when 7za was not usable, after the header).
inline QStringList boxHead(bool sevenZipUsable)
{
    QStringList lines{QStringLiteral("{date}"),
                      QStringLiteral("KORVObinder is gathering all files in the project directory..."), QString()};
    if (sevenZipUsable)
        lines.append(QStringLiteral("KORVObinder is compressing the project (please wait)..."));
    lines.append(QString());
    return lines;
}

inline QStringList fileHead(bool sevenZipUsable)
{
    QStringList lines{QStringLiteral("KORVObinder v1.6"), QStringLiteral("{date}"),
                      QStringLiteral("KORVObinder is gathering all files in the project directory..."), QString()};
    if (sevenZipUsable)
        lines.append(QStringLiteral("KORVObinder is compressing the project..."));
    lines.append(QString());
    return lines;
}

} // namespace ArchiveTest
