#include "files.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform::Files {

namespace {

QByteArray systemPath(const QString &path)
{
    return path.toUtf8();
}

bool entryExistsAt(const QByteArray &path)
{
    struct stat info;
    return ::lstat(path.constData(), &info) == 0;
}

// Shell wildcard match on UTF-16 code units: "*" any run (a leading "." too),
// "?" one unit, "[...]" one unit from a class ("!" or "^" negates, "a-z" ranges).
// A "[" without its "]" stands for itself.
bool matchClass(QStringView pattern, qsizetype &position, QChar unit, bool &matched)
{
    qsizetype i = position + 1;
    bool negated = false;
    if (i < pattern.size() && (pattern[i] == u'!' || pattern[i] == u'^')) {
        negated = true;
        ++i;
    }
    bool found = false;
    bool first = true;
    for (; i < pattern.size(); ++i) {
        if (pattern[i] == u']' && !first) {
            matched = found != negated;
            position = i;
            return true;
        }
        first = false;
        if (i + 2 < pattern.size() && pattern[i + 1] == u'-' && pattern[i + 2] != u']') {
            if (pattern[i] <= unit && unit <= pattern[i + 2])
                found = true;
            i += 2;
        } else if (pattern[i] == unit) {
            found = true;
        }
    }
    return false;
}

bool wildcardMatch(QStringView pattern, QStringView name)
{
    qsizetype p = 0;
    qsizetype n = 0;
    qsizetype starPattern = -1;
    qsizetype starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starPattern = p++;
            starName = n;
            continue;
        }
        if (p < pattern.size()) {
            qsizetype end = p;
            bool matched = false;
            if (pattern[p] == u'[' && matchClass(pattern, end, name[n], matched)) {
                if (matched) {
                    p = end + 1;
                    ++n;
                    continue;
                }
            } else if (pattern[p] == u'?' || pattern[p] == name[n]) {
                ++p;
                ++n;
                continue;
            }
        }
        if (starPattern < 0)
            return false;
        p = starPattern + 1;
        n = ++starName;
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

bool matchesPattern(const QString &pattern, const QString &name)
{
    return pattern == QLatin1String("*.*") || wildcardMatch(pattern, name);
}

// Copies a regular file into a new temporary file beside `target`, with the
// permissions of the original. Returns the temporary path, empty on failure.
QByteArray copyBeside(const QByteArray &source, const QByteArray &target)
{
    struct stat info;
    if (::stat(source.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    QFile input(QString::fromUtf8(source));
    if (!input.open(QIODevice::ReadOnly))
        return {};
    QByteArray temporary = target + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0)
        return {};
    QFile output;
    bool written = output.open(descriptor, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    while (written && !input.atEnd()) {
        const QByteArray chunk = input.read(1 << 20);
        written = !chunk.isEmpty() && output.write(chunk) == chunk.size();
    }
    written = written && output.flush() && ::fchmod(descriptor, info.st_mode & 07777) == 0;
    output.close();
    if (!written) {
        ::unlink(temporary.constData());
        return {};
    }
    return temporary;
}

// The fallback for a rename across volumes.
bool copyAndDelete(const QByteArray &from, const QByteArray &to, bool replace)
{
    const QByteArray copy = copyBeside(from, to);
    if (copy.isEmpty())
        return false;
    if (replace) {
        // The original goes first, so that a failure leaves an older file of the
        // new name untouched.
        if (::unlink(from.constData()) != 0) {
            ::unlink(copy.constData());
            return false;
        }
        // A rename inside one directory hardly fails; should it, the data stays in the copy.
        return ::rename(copy.constData(), to.constData()) == 0;
    }
    // link() refuses an existing name atomically.
    const bool placed = ::link(copy.constData(), to.constData()) == 0;
    ::unlink(copy.constData());
    if (!placed)
        return false;
    if (::unlink(from.constData()) != 0) {
        ::unlink(to.constData());
        return false;
    }
    return true;
}

// 0 on success, else -1 with errno set; EINVAL, ENOSYS or ENOTSUP when the
// system or the file system offers no exclusive rename.
int exclusiveRename(const QByteArray &from, const QByteArray &to)
{
#if defined(__APPLE__)
    return ::renamex_np(from.constData(), to.constData(), RENAME_EXCL);
#elif defined(__linux__) && defined(RENAME_NOREPLACE)
    return ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
#else
    errno = ENOSYS;
    return -1;
#endif
}

} // namespace

qint64 fileSize(const QString &path)
{
    struct stat info;
    if (::stat(systemPath(path).constData(), &info) != 0)
        return Missing;
    if (S_ISDIR(info.st_mode))
        return IsDirectory;
    return info.st_size;
}

bool isDirectory(const QString &path)
{
    return fileSize(path) == IsDirectory;
}

bool entryExists(const QString &path)
{
    return entryExistsAt(systemPath(path));
}

bool createDirectory(const QString &path)
{
    return ::mkdir(systemPath(path).constData(), 0700) == 0;
}

void deleteDirectory(const QString &path, const QString &pattern)
{
    QList<DirectoryEntry> entries;
    if (!listDirectory(path, pattern, entries))
        return;
    for (const DirectoryEntry &entry : std::as_const(entries)) {
        if (!entry.isDirectory)
            ::unlink(systemPath(path + u'/' + entry.name).constData());
    }
    // Fails, as it should, while anything is left inside.
    ::rmdir(systemPath(path).constData());
}

bool listDirectory(const QString &path, const QString &pattern, QList<DirectoryEntry> &entries)
{
    const QByteArray directoryPath = systemPath(path);
    DIR *directory = ::opendir(directoryPath.constData());
    if (!directory)
        return false;
    while (const dirent *entry = ::readdir(directory)) {
        const QByteArray rawName(entry->d_name);
        if (rawName == "." || rawName == "..")
            continue;
        const QString name = QString::fromUtf8(rawName);
        if (!matchesPattern(pattern, name))
            continue;
        bool directoryEntry = false;
#ifdef _DIRENT_HAVE_D_TYPE
        if (entry->d_type != DT_UNKNOWN) {
            directoryEntry = entry->d_type == DT_DIR;
        } else
#endif
        {
            struct stat info;
            const QByteArray full = directoryPath + '/' + rawName;
            directoryEntry = ::lstat(full.constData(), &info) == 0 && S_ISDIR(info.st_mode);
        }
        entries.append({name, directoryEntry});
    }
    ::closedir(directory);
    return true;
}

bool renameFile(const QString &from, const QString &to)
{
    const QByteArray source = systemPath(from);
    const QByteArray target = systemPath(to);
    if (::rename(source.constData(), target.constData()) == 0)
        return true;
    return errno == EXDEV && copyAndDelete(source, target, true);
}

bool renameFileNoReplace(const QString &from, const QString &to)
{
    const QByteArray source = systemPath(from);
    const QByteArray target = systemPath(to);
    if (entryExistsAt(target))
        return false;
    if (exclusiveRename(source, target) == 0)
        return true;
    switch (errno) {
    case EXDEV:
        return copyAndDelete(source, target, false);
    case EINVAL:
    case ENOSYS:
    case ENOTSUP:
        // No exclusive rename here: the check above has to do.
        return !entryExistsAt(target) && ::rename(source.constData(), target.constData()) == 0;
    default:
        return false;
    }
}

bool deleteFile(const QString &path)
{
    return ::unlink(systemPath(path).constData()) == 0;
}

} // namespace Platform::Files
