#include "platform/files.h"
#include "test_session.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace Platform;

namespace {

bool link(const QString &target, const QString &path)
{
    return ::symlink(target.toUtf8().constData(), path.toUtf8().constData()) == 0;
}

// The directory's names in a stable order for comparisons.
QStringList names(const QString &directory)
{
    QStringList result =
        QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    result.sort();
    return result;
}

QString otherVolume()
{
    const QString candidate = QStringLiteral("/dev/shm");
    struct stat here;
    struct stat there;
    if (::stat(QDir::tempPath().toUtf8().constData(), &here) != 0 ||
        ::stat(candidate.toUtf8().constData(), &there) != 0 || here.st_dev == there.st_dev ||
        ::access(candidate.toUtf8().constData(), W_OK) != 0)
        return {};
    return candidate;
}

} // namespace

class TestFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void listing_data();
    void listing();
    void listingMarksOnlyRealDirectories();
    void listingKeepsEverythingAndNeverDots();
    void listingFailsOnWhatIsNoDirectory();

    void fileSize_data();
    void fileSize();
    void createDirectoryIsPrivateAndNotRecursive();
    void deleteDirectory_data();
    void deleteDirectory();

    void renameReplaces();
    void renameAcrossVolumesCopiesAndDeletes();
    void renameAcrossVolumesKeepsEverythingWhenTheOriginalStays();
    void renameNoReplaceRefuses_data();
    void renameNoReplaceRefuses();
    void renameNoReplaceMoves();
    void renameNoReplaceAcrossVolumes();
    void binaryWriterStoresEveryPiece();
    void binaryWriterReportsAFullDisk();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->path();
}

void TestFiles::listing_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("expected");

    const QStringList scenes{QStringLiteral("a.lws"), QStringLiteral("b.LWS"), QStringLiteral(".hidden.lws"),
                             QStringLiteral("notes.txt"), QStringLiteral("README")};
    QTest::newRow("star matches a leading dot")
        << scenes << QStringLiteral("*.lws") << QStringList{QStringLiteral(".hidden.lws"), QStringLiteral("a.lws")};
    QTest::newRow("case-sensitive") << scenes << QStringLiteral("*.LWS") << QStringList{QStringLiteral("b.LWS")};
    QTest::newRow("star-dot-star is every entry")
        << scenes << QStringLiteral("*.*")
        << QStringList{QStringLiteral(".hidden.lws"), QStringLiteral("README"), QStringLiteral("a.lws"),
                       QStringLiteral("b.LWS"), QStringLiteral("notes.txt")};
    QTest::newRow("star alone") << scenes << QStringLiteral("*")
                                << QStringList{QStringLiteral(".hidden.lws"), QStringLiteral("README"),
                                               QStringLiteral("a.lws"), QStringLiteral("b.LWS"),
                                               QStringLiteral("notes.txt")};
    QTest::newRow("exact name") << scenes << QStringLiteral("README") << QStringList{QStringLiteral("README")};
    QTest::newRow("exact name, other case") << scenes << QStringLiteral("readme") << QStringList{};
    QTest::newRow("question mark is one unit")
        << QStringList{QStringLiteral("a1.mdd"), QStringLiteral("a12.mdd"), QStringLiteral("a.mdd")}
        << QStringLiteral("a?.mdd") << QStringList{QStringLiteral("a1.mdd")};
    QTest::newRow("character class") << QStringList{QStringLiteral("s1"), QStringLiteral("s2"), QStringLiteral("s9"),
                                                    QStringLiteral("sx")}
                                     << QStringLiteral("s[1-3x]")
                                     << QStringList{QStringLiteral("s1"), QStringLiteral("s2"), QStringLiteral("sx")};
    QTest::newRow("negated class") << QStringList{QStringLiteral("s1"), QStringLiteral("s2"), QStringLiteral("sx")}
                                   << QStringLiteral("s[!1]")
                                   << QStringList{QStringLiteral("s2"), QStringLiteral("sx")};
    QTest::newRow("unclosed bracket is literal") << QStringList{QStringLiteral("a[b"), QStringLiteral("ab")}
                                                 << QStringLiteral("a[b") << QStringList{QStringLiteral("a[b")};
    QTest::newRow("several stars") << QStringList{QStringLiteral("x.tar.gz"), QStringLiteral("x.gz.tar")}
                                   << QStringLiteral("*.*.gz") << QStringList{QStringLiteral("x.tar.gz")};
    QTest::newRow("non-ASCII names") << QStringList{QStringLiteral("Szene_ü.lws"), QStringLiteral("plain.lws")}
                                     << QStringLiteral("*ü*") << QStringList{QStringLiteral("Szene_ü.lws")};
}

void TestFiles::listing()
{
    QFETCH(QStringList, files);
    QFETCH(QString, pattern);
    QFETCH(QStringList, expected);
    for (const QString &name : files)
        QVERIFY(writeFile(m_path + u'/' + name));

    QList<Files::DirectoryEntry> entries;
    QVERIFY(Files::listDirectory(m_path, pattern, entries));
    QStringList found;
    for (const Files::DirectoryEntry &entry : entries) {
        QVERIFY(!entry.isDirectory);
        found.append(entry.name);
    }
    found.sort();
    QCOMPARE(found, expected);
}

void TestFiles::listingMarksOnlyRealDirectories()
{
    QVERIFY(QDir(m_path).mkdir(QStringLiteral("real")));
    QVERIFY(writeFile(m_path + QStringLiteral("/file")));
    QVERIFY(link(m_path + QStringLiteral("/real"), m_path + QStringLiteral("/link-to-dir")));
    QVERIFY(link(m_path + QStringLiteral("/gone"), m_path + QStringLiteral("/dangling")));

    QList<Files::DirectoryEntry> entries;
    QVERIFY(Files::listDirectory(m_path, QStringLiteral("*"), entries));
    QMap<QString, bool> kinds;
    for (const Files::DirectoryEntry &entry : entries)
        kinds.insert(entry.name, entry.isDirectory);
    const QMap<QString, bool> expected{{QStringLiteral("real"), true},
                                       {QStringLiteral("file"), false},
                                       {QStringLiteral("link-to-dir"), false},
                                       {QStringLiteral("dangling"), false}};
    QCOMPARE(kinds, expected);
}

void TestFiles::listingKeepsEverythingAndNeverDots()
{
    QVERIFY(writeFile(m_path + QStringLiteral("/.a")));
    QVERIFY(writeFile(m_path + QStringLiteral("/b")));
    for (const QString &pattern : {QStringLiteral("*"), QStringLiteral("*.*"), QStringLiteral(".*"),
                                   QStringLiteral("?"), QStringLiteral("??")}) {
        QList<Files::DirectoryEntry> entries;
        QVERIFY(Files::listDirectory(m_path, pattern, entries));
        for (const Files::DirectoryEntry &entry : entries)
            QVERIFY2(entry.name != QLatin1String(".") && entry.name != QLatin1String(".."), qPrintable(pattern));
    }
    QList<Files::DirectoryEntry> entries;
    QVERIFY(Files::listDirectory(m_path, QStringLiteral(".*"), entries));
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first().name, QStringLiteral(".a"));
}

void TestFiles::listingFailsOnWhatIsNoDirectory()
{
    QVERIFY(writeFile(m_path + QStringLiteral("/file")));
    QList<Files::DirectoryEntry> entries;
    QVERIFY(!Files::listDirectory(m_path + QStringLiteral("/missing"), QStringLiteral("*"), entries));
    QVERIFY(!Files::listDirectory(m_path + QStringLiteral("/file"), QStringLiteral("*"), entries));
    QVERIFY(entries.isEmpty());
}

void TestFiles::fileSize_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("expected");
    // Whether anything at all is there, the link itself counting.
    QTest::addColumn<bool>("entry");
    QTest::newRow("missing") << QStringLiteral("missing") << qint64(-1) << false;
    QTest::newRow("directory") << QStringLiteral("dir") << qint64(-2) << true;
    QTest::newRow("file") << QStringLiteral("five") << qint64(5) << true;
    QTest::newRow("empty file") << QStringLiteral("empty") << qint64(0) << true;
    QTest::newRow("link to a file") << QStringLiteral("link-to-five") << qint64(5) << true;
    QTest::newRow("link to a directory") << QStringLiteral("link-to-dir") << qint64(-2) << true;
    QTest::newRow("dangling link") << QStringLiteral("dangling") << qint64(-1) << true;
    QTest::newRow("below a file") << QStringLiteral("five/inner") << qint64(-1) << false;
}

void TestFiles::fileSize()
{
    QFETCH(QString, name);
    QFETCH(qint64, expected);
    QFETCH(bool, entry);
    QVERIFY(QDir(m_path).mkdir(QStringLiteral("dir")));
    QVERIFY(writeFile(m_path + QStringLiteral("/five"), "12345"));
    QVERIFY(writeFile(m_path + QStringLiteral("/empty"), ""));
    QVERIFY(link(m_path + QStringLiteral("/five"), m_path + QStringLiteral("/link-to-five")));
    QVERIFY(link(m_path + QStringLiteral("/dir"), m_path + QStringLiteral("/link-to-dir")));
    QVERIFY(link(m_path + QStringLiteral("/gone"), m_path + QStringLiteral("/dangling")));

    QCOMPARE(Files::fileSize(m_path + u'/' + name), expected);
    QCOMPARE(Files::isDirectory(m_path + u'/' + name), expected == Files::IsDirectory);
    QCOMPARE(Files::entryExists(m_path + u'/' + name), entry);
}

void TestFiles::createDirectoryIsPrivateAndNotRecursive()
{
    const mode_t oldMask = ::umask(0);
    const bool created = Files::createDirectory(m_path + QStringLiteral("/new"));
    ::umask(oldMask);
    QVERIFY(created);
    QCOMPARE(fileMode(m_path + QStringLiteral("/new")), 0700);
    QVERIFY(!Files::createDirectory(m_path + QStringLiteral("/new")));
    QVERIFY(!Files::createDirectory(m_path + QStringLiteral("/a/b")));
    QCOMPARE(Files::fileSize(m_path + QStringLiteral("/a")), Files::Missing);
}

void TestFiles::deleteDirectory_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("withSubdirectory");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("remaining"); // empty: the directory itself is gone

    const QStringList files{QStringLiteral("a.tmp"), QStringLiteral("b.tmp"), QStringLiteral("keep.txt")};
    QTest::newRow("every file") << files << false << QStringLiteral("*.*") << QStringList{};
    QTest::newRow("matching files only") << files << false << QStringLiteral("*.tmp")
                                         << QStringList{QStringLiteral("keep.txt")};
    QTest::newRow("sub-directory stays") << files << true << QStringLiteral("*") << QStringList{QStringLiteral("sub")};
    QTest::newRow("empty directory goes") << QStringList{} << false << QStringLiteral("*.tmp") << QStringList{};
    QTest::newRow("hidden files match the star")
        << QStringList{QStringLiteral(".lock"), QStringLiteral("x")} << false << QStringLiteral("*") << QStringList{};
}

void TestFiles::deleteDirectory()
{
    QFETCH(QStringList, files);
    QFETCH(bool, withSubdirectory);
    QFETCH(QString, pattern);
    QFETCH(QStringList, remaining);
    const QString target = m_path + QStringLiteral("/target");
    QVERIFY(QDir(m_path).mkdir(QStringLiteral("target")));
    for (const QString &name : files)
        QVERIFY(writeFile(target + u'/' + name));
    if (withSubdirectory) {
        QVERIFY(QDir(target).mkdir(QStringLiteral("sub")));
        QVERIFY(writeFile(target + QStringLiteral("/sub/inner.tmp")));
    }

    Files::deleteDirectory(target, pattern);

    if (remaining.isEmpty()) {
        QCOMPARE(Files::fileSize(target), Files::Missing);
    } else {
        QCOMPARE(names(target), remaining);
    }
    if (withSubdirectory)
        QCOMPARE(Files::fileSize(target + QStringLiteral("/sub/inner.tmp")), qint64(1));
}

void TestFiles::renameReplaces()
{
    QVERIFY(writeFile(m_path + QStringLiteral("/from"), "new"));
    QVERIFY(writeFile(m_path + QStringLiteral("/to"), "old content"));
    QVERIFY(Files::renameFile(m_path + QStringLiteral("/from"), m_path + QStringLiteral("/to")));
    QCOMPARE(readFile(m_path + QStringLiteral("/to")), QByteArrayLiteral("new"));
    QCOMPARE(Files::fileSize(m_path + QStringLiteral("/from")), Files::Missing);
    QVERIFY(!Files::renameFile(m_path + QStringLiteral("/from"), m_path + QStringLiteral("/again")));
}

void TestFiles::renameAcrossVolumesCopiesAndDeletes()
{
    const QString volume = otherVolume();
    if (volume.isEmpty())
        QSKIP("No second file system to rename across");
    QTemporaryDir there(volume + QStringLiteral("/korvo-files-XXXXXX"));
    QVERIFY(there.isValid());
    const QString from = there.path() + QStringLiteral("/scene file.lws");
    const QString to = m_path + QStringLiteral("/scene_file.lws");
    QVERIFY(writeFile(from, QByteArray(3 * 1024 * 1024 + 7, 'k')));
    QVERIFY(::chmod(from.toUtf8().constData(), 0640) == 0);
    QVERIFY(writeFile(to, "older"));

    QVERIFY(Files::renameFile(from, to));
    QCOMPARE(Files::fileSize(from), Files::Missing);
    QCOMPARE(readFile(to), QByteArray(3 * 1024 * 1024 + 7, 'k'));
    QCOMPARE(fileMode(to), 0640);
    QCOMPARE(names(m_path), QStringList{QStringLiteral("scene_file.lws")});
}

void TestFiles::renameAcrossVolumesKeepsEverythingWhenTheOriginalStays()
{
    const QString volume = otherVolume();
    if (volume.isEmpty())
        QSKIP("No second file system to rename across");
    if (::geteuid() == 0)
        QSKIP("Directory permissions do not stop the superuser from deleting");
    QTemporaryDir there(volume + QStringLiteral("/korvo-files-XXXXXX"));
    QVERIFY(there.isValid());
    const QString from = there.path() + QStringLiteral("/scene.lws");
    const QString to = m_path + QStringLiteral("/scene.lws");
    QVERIFY(writeFile(from, "scene"));
    QVERIFY(writeFile(to, "older"));
    QVERIFY(::chmod(there.path().toUtf8().constData(), 0500) == 0);

    const bool renamed = Files::renameFile(from, to);
    ::chmod(there.path().toUtf8().constData(), 0700);
    QVERIFY(!renamed);
    QCOMPARE(readFile(from), QByteArrayLiteral("scene"));
    QCOMPARE(readFile(to), QByteArrayLiteral("older"));
    QCOMPARE(names(m_path), QStringList{QStringLiteral("scene.lws")});
}

void TestFiles::renameNoReplaceRefuses_data()
{
    QTest::addColumn<QString>("occupant");
    QTest::newRow("file") << QStringLiteral("file");
    QTest::newRow("directory") << QStringLiteral("directory");
    QTest::newRow("dangling link") << QStringLiteral("dangling");
}

void TestFiles::renameNoReplaceRefuses()
{
    QFETCH(QString, occupant);
    const QString from = m_path + QStringLiteral("/from");
    const QString to = m_path + QStringLiteral("/to");
    QVERIFY(writeFile(from, "moving"));
    if (occupant == QLatin1String("file"))
        QVERIFY(writeFile(to, "staying"));
    else if (occupant == QLatin1String("directory"))
        QVERIFY(QDir(m_path).mkdir(QStringLiteral("to")));
    else
        QVERIFY(link(m_path + QStringLiteral("/nowhere"), to));

    QVERIFY(!Files::renameFileNoReplace(from, to));
    QCOMPARE(readFile(from), QByteArrayLiteral("moving"));
    if (occupant == QLatin1String("file"))
        QCOMPARE(readFile(to), QByteArrayLiteral("staying"));
    else if (occupant == QLatin1String("directory"))
        QCOMPARE(Files::fileSize(to), Files::IsDirectory);
    else
        QCOMPARE(QFile::symLinkTarget(to), m_path + QStringLiteral("/nowhere"));
    QCOMPARE(names(m_path), (QStringList{QStringLiteral("from"), QStringLiteral("to")}));
}

void TestFiles::renameNoReplaceMoves()
{
    QVERIFY(writeFile(m_path + QStringLiteral("/from"), "moving"));
    QVERIFY(Files::renameFileNoReplace(m_path + QStringLiteral("/from"), m_path + QStringLiteral("/to")));
    QCOMPARE(readFile(m_path + QStringLiteral("/to")), QByteArrayLiteral("moving"));
    QCOMPARE(names(m_path), QStringList{QStringLiteral("to")});
}

void TestFiles::renameNoReplaceAcrossVolumes()
{
    const QString volume = otherVolume();
    if (volume.isEmpty())
        QSKIP("No second file system to rename across");
    QTemporaryDir there(volume + QStringLiteral("/korvo-files-XXXXXX"));
    QVERIFY(there.isValid());
    QVERIFY(writeFile(there.path() + QStringLiteral("/a"), "first"));
    QVERIFY(writeFile(there.path() + QStringLiteral("/b"), "second"));
    QVERIFY(writeFile(m_path + QStringLiteral("/b"), "occupant"));

    QVERIFY(Files::renameFileNoReplace(there.path() + QStringLiteral("/a"), m_path + QStringLiteral("/a")));
    QVERIFY(!Files::renameFileNoReplace(there.path() + QStringLiteral("/b"), m_path + QStringLiteral("/b")));
    QCOMPARE(readFile(m_path + QStringLiteral("/a")), QByteArrayLiteral("first"));
    QCOMPARE(readFile(m_path + QStringLiteral("/b")), QByteArrayLiteral("occupant"));
    QCOMPARE(names(there.path()), QStringList{QStringLiteral("b")});
    QCOMPARE(names(m_path), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}

void TestFiles::binaryWriterStoresEveryPiece()
{
    const QString path = m_path + QStringLiteral("/update.zip");
    QVERIFY(writeFile(path, "an older, longer file"));
    Files::BinaryFileWriter writer;
    QVERIFY(writer.create(path));
    writer.write("abc", 3);
    writer.write("", 0);
    writer.write("\0de", 3);
    QVERIFY(writer.finish());
    QCOMPARE(readFile(path), QByteArray("abc\0de", 6));

    Files::BinaryFileWriter nowhere;
    QVERIFY(!nowhere.create(m_path + QStringLiteral("/missing/update.zip")));
    QVERIFY(!nowhere.isOpen());
    QVERIFY(!nowhere.finish());
}

void TestFiles::binaryWriterReportsAFullDisk()
{
    const QString path = m_path + QStringLiteral("/update.zip");
    const QByteArray block(1024, 'x');
    bool finished = true;
    {
        const FileSizeLimit fullDisk(4096, FileSizeLimit::Overstep::FailsTheWrite);
        QVERIFY(fullDisk.active());
        Files::BinaryFileWriter writer;
        QVERIFY(writer.create(path));
        for (int i = 0; i < 8; ++i)
            writer.write(block.constData(), block.size());
        finished = writer.finish();
    }
    QVERIFY(!finished);
    QVERIFY(Files::freeSpace(m_path) > 0);
    QCOMPARE(Files::freeSpace(m_path + QStringLiteral("/missing")), qint64(-1));
}

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
