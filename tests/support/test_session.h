#pragma once

#include "recording_opener.h"
#include "scripted_window_system.h"
#include "shell/session.h"

#include <QTemporaryDir>
#include <memory>

// A whole program run in miniature: a temporary base directory, the scripted
// window system, the recording opener and a Session over them. The base
// directory is created; nothing else is in it.
class TestSession
{
public:
    TestSession();

    QString base() const { return session->context.baseDirectory; }
    // A folder beside the base directory for project directories and the like.
    QString scratch() const { return m_root.path() + QStringLiteral("/work"); }

    // Puts a copy of the real 7za binary into the base directory.
    bool installSevenZip() const;
    // Chooses the profile of this name as the current application.
    void choose(const QString &applicationName);

    ScriptedWindowSystem windows;
    RecordingOpener opener;
    std::unique_ptr<Session> session;

private:
    QTemporaryDir m_root;
};

Platform::AppContext testContext(const QString &baseDirectory);

// The real 7za binary the tests run.
QString sevenZipProgram();

// A full disk made real, for as long as it lives: no file that this process, or
// a program it starts, writes may grow past `bytes`; the limit binds the
// superuser too. A write past it fails, or, with KillsWriter, the system stops
// the writing program with a signal.
class FileSizeLimit
{
public:
    enum class Overstep
    {
        FailsTheWrite,
        KillsWriter,
    };

    FileSizeLimit(qint64 bytes, Overstep overstep);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool active() const { return m_active; }

private:
    quint64 m_previousLimit = 0;
    void (*m_previousHandler)(int) = nullptr;
    bool m_active = false;
};

// Small file helpers for building project directories in tests.
bool writeFile(const QString &path, const QByteArray &content = QByteArrayLiteral("x"));
bool makeDirectory(const QString &path);
QByteArray readFile(const QString &path);
// The permission bits of the entry itself (a link is not followed), -1 when nothing is there.
int fileMode(const QString &path);
