#pragma once

#include "platform/files.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

struct Session;

// The log box and the log file of one archive-building run, and the report of
// its outcome. Archive building calls it in a fixed order: clearBox, start,
// the compressing notice and progress when 7za was usable, one blank line, and
// exactly one of reportSuccess or reportFailure.
class PreparationLog
{
public:
    explicit PreparationLog(Session &session);
    PreparationLog(const PreparationLog &) = delete;
    PreparationLog &operator=(const PreparationLog &) = delete;

    void clearBox();
    // Creates (truncates) the log file and writes the start header to box and file.
    void start();
    void addBoxLine(const QString &line);
    void addFileLine(const QString &line);
    void addLine(const QString &line);
    void reportCompressing();
    // Fills the progress bar; it is never set to any other value.
    void markCompressionFinished();
    // Writes the report, shows the archive folder and closes the log file.
    void reportSuccess(qint64 elapsedSeconds, const QString &archivePath, qint64 archiveSize);
    // Writes the report, keeps the log file as the error log and shows the error box.
    void reportFailure();
    QString filePath() const;
    void closeFile();

private:
    QString errorFilePath() const;

    Session &m_session;
    Platform::Files::TextFileWriter m_file;
};

// "Date: yyyy-MM-dd - Hour: hh:mm:ss", the digits always the ASCII ones.
QString logDateLine(const QDateTime &moment);

// The archive size in megabytes, single precision, fixed with two decimals and
// the locale's decimal separator, never with digit grouping.
QString archiveSizeText(qint64 archiveSize, const QLocale &locale);
