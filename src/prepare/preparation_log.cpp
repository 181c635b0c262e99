#include "preparation_log.h"

#include "archive_messages.h"
#include "platform/clock.h"
#include "platform/desktop_opener.h"
#include "platform/window_system.h"
#include "shell/main_window.h"
#include "shell/session.h"

namespace Files = Platform::Files;
namespace Text = ArchiveMessages;

QString logDateLine(const QDateTime &moment)
{
    // The C locale keeps the digits ASCII whatever the user's locale is.
    const QLocale c = QLocale::c();
    return Text::datePrefix + c.toString(moment, Text::dateFormat) + Text::hourPrefix +
           c.toString(moment, Text::hourFormat);
}

QString archiveSizeText(qint64 archiveSize, const QLocale &locale)
{
    const float megabytes = float(archiveSize) / 1024.0f / 1024.0f;
    QLocale plain = locale;
    plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
    return plain.toString(double(megabytes), 'f', 2);
}

PreparationLog::PreparationLog(Session &session)
    : m_session(session)
{}

void PreparationLog::clearBox()
{
    m_session.windows.clearText(Gadget::LogBox);
}

void PreparationLog::start()
{
    m_file.create(filePath());
    addBoxLine(logDateLine(Platform::localDateTime()));
    addFileLine(Text::versionPrefix + m_session.context.programVersion);
    addBoxLine(Text::gathering.toString());
    addBoxLine({});
    // Read from the clock again: the file's date may be a second later than the box's.
    addFileLine(logDateLine(Platform::localDateTime()));
    addFileLine(Text::gathering.toString());
    addFileLine({});
}

void PreparationLog::addBoxLine(const QString &line)
{
    m_session.windows.appendLine(Gadget::LogBox, line);
}

void PreparationLog::addFileLine(const QString &line)
{
    m_file.writeLine(line);
}

void PreparationLog::addLine(const QString &line)
{
    addBoxLine(line);
    addFileLine(line);
}

void PreparationLog::reportCompressing()
{
    addBoxLine(Text::compressingBox.toString());
    addFileLine(Text::compressingFile.toString());
}

void PreparationLog::markCompressionFinished()
{
    m_session.windows.setProgress(Gadget::ProgressBar, MainWindow::ProgressMaximum);
}

void PreparationLog::reportSuccess(qint64 elapsedSeconds, const QString &archivePath, qint64 archiveSize)
{
    const QString &base = m_session.context.baseDirectory;
    addLine(Text::compressedPrefix + QString::number(elapsedSeconds) + Text::compressedSuffix);
    addLine({});
    addBoxLine(Text::preparedBoxPrefix + base + Text::preparedSuffix);
    addFileLine(Text::preparedFilePrefix + base + Text::preparedSuffix);
    m_session.opener.open(base + Text::archiveDirectory);
    addLine(Text::projectNamePrefix + archivePath.mid(archivePath.lastIndexOf(u'/') + 1));
    addLine(Text::archiveSizePrefix + archiveSizeText(archiveSize, m_session.context.locale) + Text::archiveSizeSuffix);
    addLine({});
    addBoxLine(Text::readyToRender.toString());
    addBoxLine({});
    addFileLine(Text::readyToRender.toString());
    closeFile();
}

void PreparationLog::reportFailure()
{
    addLine(Text::failureHeadline.toString());
    addLine(Text::failureNotPrepared.toString());
    addLine({});
    closeFile();
    const QString errorLog = errorFilePath();
    if (Files::fileSize(errorLog) > 0)
        Files::deleteFile(errorLog);
    Files::renameFile(filePath(), errorLog);
    m_session.windows.messageBox(Text::compressionFailed.title.toString(), Text::compressionFailed.text.toString(),
                                 Platform::Buttons::Ok);
}

QString PreparationLog::filePath() const
{
    return m_session.context.baseDirectory + Text::logFile;
}

QString PreparationLog::errorFilePath() const
{
    return m_session.context.baseDirectory + Text::errorLogFile;
}

void PreparationLog::closeFile()
{
    m_file.close();
}
