#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class QFile;

// Files and directories. Paths are plain text, converted to UTF-8 for the
// system and never normalised.
namespace Platform::Files {

constexpr qint64 Missing = -1;
constexpr qint64 IsDirectory = -2;

// Follows symbolic links: -1 when nothing is there (or it cannot be examined),
// -2 for a directory, else the size in bytes.
qint64 fileSize(const QString &path);

bool isDirectory(const QString &path);

// True when anything at all is there: a file, a directory, a link (a dangling one too).
bool entryExists(const QString &path);

// Not recursive; the new directory gets permissions 0700.
bool createDirectory(const QString &path);

// Deletes the plain files directly inside `path` whose names match `pattern`
// (see listDirectory), leaves sub-directories alone, and removes the directory
// itself when that empties it.
void deleteDirectory(const QString &path, const QString &pattern);

struct DirectoryEntry
{
    QString name;
    // True only when the entry itself is a directory: a symbolic link is never one.
    bool isDirectory = false;
};

// Shell wildcards matched case-sensitively against the entry name; "*" also
// matches a leading "." and "*.*" stands for every entry. "." and ".." are never
// delivered. Returns false when `path` cannot be opened as a directory.
bool listDirectory(const QString &path, const QString &pattern, QList<DirectoryEntry> &entries);

// Renames, replacing a file of the new name; where the system cannot rename in
// place (another volume), copies and deletes the original, and when the original
// cannot be deleted removes the copy again and fails.
bool renameFile(const QString &from, const QString &to);

// Like renameFile, but fails without touching anything when something (a file,
// a directory, a link) already exists under the new name.
bool renameFileNoReplace(const QString &from, const QString &to);

bool deleteFile(const QString &path);

// Reads a UTF-8 text file line by line: a line feed, a carriage return, the pair
// of both, or a zero byte ends a line. Reading past the end gives empty lines.
class TextFileReader
{
public:
    bool open(const QString &path);
    bool atEnd() const;
    QString readLine();

private:
    QByteArray m_data;
    qsizetype m_position = 0;
};

// Writes a UTF-8 text file line by line, each line ended by one line feed, no
// byte order mark. Writes to a closed writer have no effect.
class TextFileWriter
{
public:
    ~TextFileWriter();
    bool create(const QString &path);
    bool isOpen() const;
    void writeLine(const QString &line);
    void close();

private:
    struct Impl;
    Impl *m_impl = nullptr;
};

// Writes a binary file piece by piece; created anew (an existing file is emptied).
// Once a write falls short, later writes are dropped and finish() reports it,
// so a disk that fills up mid-way never passes for a complete file.
class BinaryFileWriter
{
public:
    BinaryFileWriter();
    ~BinaryFileWriter();
    bool create(const QString &path);
    bool isOpen() const;
    void write(const char *bytes, qint64 count);
    // Closes the file; true when every byte reached it.
    bool finish();

private:
    std::unique_ptr<QFile> m_file;
    bool m_sound = false;
};

// Bytes free for the user on the volume that holds `directory`, -1 when it cannot be examined.
qint64 freeSpace(const QString &directory);

// Writes the whole file to a temporary file beside `path` and renames it over
// `path` only when everything has been written, so a failure never leaves a half
// written file. The file gets `permissions` (as for chmod) also when an older
// file had wider ones.
bool writeTextFileAtomically(const QString &path, const QStringList &lines, int permissions = 0600);

} // namespace Platform::Files
