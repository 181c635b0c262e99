#include "process.h"

#include <QProcess>

namespace Platform {

bool startDetached(const QString &program, const QStringList &arguments, const QString &workingDirectory)
{
    return QProcess::startDetached(program, arguments, workingDirectory);
}

ProcessResult runAndWait(const QString &program, const QStringList &arguments, const QString &workingDirectory)
{
    ChildProcess child;
    if (child.start(program, arguments, workingDirectory))
        child.waitForEnd(-1);
    return child.result();
}

ChildProcess::ChildProcess()
    : m_process(std::make_unique<QProcess>())
{}

ChildProcess::~ChildProcess()
{
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(-1);
    }
}

bool ChildProcess::start(const QString &program, const QStringList &arguments, const QString &workingDirectory)
{
    m_process->setProgram(program);
    m_process->setArguments(arguments);
    m_process->setWorkingDirectory(workingDirectory);
    // Nothing to read from: a program that asks a question gets end of input instead of hanging.
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setStandardOutputFile(QProcess::nullDevice());
    // Only the error output comes back; peeking at it keeps result() free of side effects.
    m_process->setReadChannel(QProcess::StandardError);
    m_process->start(QIODevice::ReadOnly);
    m_started = m_process->waitForStarted(-1);
    return m_started;
}

bool ChildProcess::isRunning() const
{
    // A zero wait also drains the error pipe, so a chatty child never blocks on it.
    return m_started && m_process->state() != QProcess::NotRunning && !m_process->waitForFinished(0);
}

bool ChildProcess::waitForEnd(int milliseconds)
{
    if (!m_started || m_process->state() == QProcess::NotRunning)
        return true;
    // Blocks in the system until the child ends, reading its error output meanwhile.
    return m_process->waitForFinished(milliseconds);
}

ProcessResult ChildProcess::result() const
{
    ProcessResult result;
    result.started = m_started;
    if (!m_started)
        return result;
    result.errorOutput = m_process->peek(m_process->bytesAvailable());
    if (m_process->state() != QProcess::NotRunning)
        return result;
    result.crashed = m_process->exitStatus() == QProcess::CrashExit;
    if (!result.crashed)
        result.exitCode = m_process->exitCode();
    result.succeeded = !result.crashed && result.exitCode == 0;
    return result;
}

} // namespace Platform
