#include "archive_builder.h"

#include "archive_messages.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/window_system.h"
#include "preparation_log.h"
#include "shell/application_profile.h"
#include "shell/main_window.h"
#include "shell/session.h"

#include <QStringList>
#include <optional>

namespace Files = Platform::Files;
namespace Text = ArchiveMessages;

namespace ArchiveBuilder {

namespace {

constexpr int archiveBaseNameLength = 20;

// How long one wait on 7za lasts before the window is repainted: short enough
// for a window that stays alive, long enough to leave the processors to 7za.
constexpr int repaintIntervalMilliseconds = 25;

struct Compression
{
    bool maximumCompression = true;
    bool started = false;
    Platform::ProcessResult result;
    qint64 elapsedMilliseconds = 0;

    // A 7za that ended with a warning still writes an archive, without the files
    // it could not read; that archive must not reach the farm.
    bool failed() const { return started && !result.succeeded; }
};

QString sevenZipPath(const Session &session)
{
    return session.context.baseDirectory + Text::sevenZipFile;
}

QString scratchPath(const Session &session)
{
    return session.context.baseDirectory + Text::scratchDirectory;
}

void clearScratchDirectory(const Session &session)
{
    Files::deleteDirectory(scratchPath(session), Text::scratchPattern.toString());
}

QString speedName(const QString &archivePath)
{
    return archivePath + Text::speedSuffix;
}

QString levelSwitch(bool maximumCompression)
{
    return (maximumCompression ? Text::maximumLevelSwitch : Text::maximumSpeedSwitch).toString();
}

// 7za picks the archive format from the name it writes: 7z for the archive
// extension, zip for the speed name.
QString writtenName(const QString &archivePath, bool maximumCompression)
{
    return maximumCompression ? archivePath : speedName(archivePath);
}

Compression compress(Session &session, PreparationLog &log, const QString &projectDirectory, const QString &archivePath)
{
    Platform::WindowSystem &windows = session.windows;
    Compression compression;
    compression.maximumCompression =
        windows.messageBox(Text::compressionQuestion.title.toString(), Text::compressionQuestion.text.toString(),
                           Platform::Buttons::YesNo) == Platform::Answer::Yes;
    const bool maximumCompression = compression.maximumCompression;
    log.reportCompressing();

    const qint64 startMilliseconds = Platform::milliseconds();
    {
        Platform::ChildProcess process;
        const QStringList arguments{Text::addCommand.toString(), writtenName(archivePath, maximumCompression),
                                    levelSwitch(maximumCompression), Text::recurseSwitch.toString()};
        if (process.start(sevenZipPath(session), arguments, projectDirectory)) {
            // Sleeps on the process between repaints; what the user clicks meanwhile is thrown away.
            while (!process.waitForEnd(repaintIntervalMilliseconds))
                windows.processPendingEvents();
            compression.started = true;
            compression.result = process.result();
        }
    }
    compression.elapsedMilliseconds = Platform::milliseconds() - startMilliseconds;
    log.markCompressionFinished();

    if (compression.failed()) {
        Files::deleteFile(archivePath);
        Files::deleteFile(speedName(archivePath));
    } else if (Files::fileSize(speedName(archivePath)) > 0) {
        Files::renameFile(speedName(archivePath), archivePath);
    }
    return compression;
}

// What 7za said about its failure, so that the user sees which file was the problem.
void reportSevenZipFailure(PreparationLog &log, const Platform::ProcessResult &result)
{
    log.addLine(result.crashed ? Text::sevenZipStopped.toString()
                               : Text::sevenZipExitCode.toString().arg(result.exitCode));
    QStringList lines = QString::fromUtf8(result.errorOutput).split(u'\n');
    for (QString &line : lines) {
        while (!line.isEmpty() && line.back().isSpace())
            line.chop(1);
    }
    while (!lines.isEmpty() && lines.front().isEmpty())
        lines.removeFirst();
    while (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    for (const QString &line : std::as_const(lines))
        log.addLine(line);
    log.addLine({});
}

// The farm receives the log inside the archive; written with the switches of the compression.
void addLogToArchive(Session &session, const QString &logPath, const QString &archivePath, bool maximumCompression)
{
    const QString &base = session.context.baseDirectory;
    const QString target = writtenName(archivePath, maximumCompression);
    if (!maximumCompression)
        Files::renameFile(archivePath, target);
    Platform::runAndWait(
        sevenZipPath(session),
        {Text::addCommand.toString(), target, logPath, levelSwitch(maximumCompression), Text::recurseSwitch.toString()},
        base);
    if (!maximumCompression)
        Files::renameFile(target, archivePath);
}

} // namespace

QString archiveBaseName(const QString &sceneName, QStringView sceneExtension)
{
    QString name = sceneName;
    name.remove(sceneExtension.toString(), Qt::CaseInsensitive);
    name.replace(u' ', u'_');
    name.replace(u'.', u'_');
    return name.left(archiveBaseNameLength);
}

QString archivePath(const QString &baseDirectory, const QString &sceneName, const ApplicationProfile &profile)
{
    return baseDirectory + Text::archiveDirectory + u'/' + archiveBaseName(sceneName, profile.sceneExtension) +
           profile.archiveExtension;
}

void buildArchive(Session &session, const QString &projectDirectory, const QString &sceneName,
                  const ApplicationProfile &profile)
{
    Platform::WindowSystem &windows = session.windows;
    MainWindow::setBusy(windows, Gadget::PrepareProject);

    PreparationLog log(session);
    log.clearBox();
    clearScratchDirectory(session);
    Files::createDirectory(scratchPath(session));
    log.start();

    const QString archive = archivePath(session.context.baseDirectory, sceneName, profile);
    Files::deleteFile(archive);
    // A leftover of an earlier run under the speed name would be moved over this
    // run's archive, or updated by it, and send files the project no longer has.
    Files::deleteFile(speedName(archive));

    std::optional<Compression> compression;
    if (Files::fileSize(sevenZipPath(session)) > 0) {
        compression = compress(session, log, projectDirectory, archive);
    } else {
        windows.messageBox(Text::sevenZipMissing.title.toString(), Text::sevenZipMissing.text.toString(),
                           Platform::Buttons::Ok);
    }
    log.addLine({});

    const qint64 archiveSize = Files::fileSize(archive);
    if (compression && compression->failed()) {
        reportSevenZipFailure(log, compression->result);
        log.reportFailure();
    } else if (!compression || archiveSize <= 0) {
        log.reportFailure();
    } else {
        log.reportSuccess(compression->elapsedMilliseconds / 1000, archive, archiveSize);
        addLogToArchive(session, log.filePath(), archive, compression->maximumCompression);
        Files::deleteFile(log.filePath());
        clearScratchDirectory(session);
    }

    MainWindow::clearBusy(windows, Gadget::PrepareProject);
}

} // namespace ArchiveBuilder
