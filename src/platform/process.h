#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class QProcess;

// Starting programs. Arguments always go as a list: never through a shell and
// never as one string split at blanks.
namespace Platform {

bool startDetached(const QString &program, const QStringList &arguments, const QString &workingDirectory = {});

struct ProcessResult
{
    bool started = false;
    // True when the program ended by itself (not through a signal) with status 0.
    bool succeeded = false;
    int exitCode = -1;
    bool crashed = false;
    QByteArray errorOutput;
};

// Starts the program and blocks until it has ended. Standard output is thrown away.
ProcessResult runAndWait(const QString &program, const QStringList &arguments, const QString &workingDirectory);

// A started child process with a handle that is polled. Standard output is
// thrown away, the error output is collected.
class ChildProcess
{
public:
    ChildProcess();
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    bool start(const QString &program, const QStringList &arguments, const QString &workingDirectory);
    bool isRunning() const;
    // Sleeps until the process has ended or `milliseconds` have passed, without
    // spinning; returns true when the process has ended.
    bool waitForEnd(int milliseconds);
    ProcessResult result() const;

private:
    std::unique_ptr<QProcess> m_process;
    bool m_started = false;
};

} // namespace Platform
