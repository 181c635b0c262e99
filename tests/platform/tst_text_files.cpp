#include "platform/files.h"
#include "test_session.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace Platform;

namespace {

QStringList names(const QString &directory)
{
    QStringList result =
        QDir(directory).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    result.sort();
    return result;
}

} // namespace

class TestTextFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void readLines_data();
    void readLines();
    void readerOpenFailsOnMissingFile();
    void writerBytes();
    void writerAfterCloseHasNoEffect();

    void atomicWriteNarrowsAnOlderMode();
    void atomicWriteFailsWithoutTouchingTheOldFile();
    void atomicWriteIntoUnwritableDirectory();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestTextFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->path();
}

void TestTextFiles::readLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("line feeds") << QByteArray("one\ntwo\n")
                                << QStringList{QStringLiteral("one"), QStringLiteral("two")};
    QTest::newRow("carriage returns") << QByteArray("one\rtwo\r")
                                      << QStringList{QStringLiteral("one"), QStringLiteral("two")};
    QTest::newRow("both as one end") << QByteArray("one\r\ntwo\r\n")
                                     << QStringList{QStringLiteral("one"), QStringLiteral("two")};
    QTest::newRow("line feed then carriage return is two ends")
        << QByteArray("one\n\rtwo") << QStringList{QStringLiteral("one"), QString(), QStringLiteral("two")};
    QTest::newRow("zero byte ends a line")
        << QByteArray("one\0two", 7) << QStringList{QStringLiteral("one"), QStringLiteral("two")};
    QTest::newRow("no end on the last line")
        << QByteArray("one\ntwo") << QStringList{QStringLiteral("one"), QStringLiteral("two")};
    QTest::newRow("empty lines kept") << QByteArray("\n\nx\n")
                                      << QStringList{QString(), QString(), QStringLiteral("x")};
    QTest::newRow("mixed ends") << QByteArray("a\r\nb\nc\rd")
                                << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                                               QStringLiteral("d")};
    QTest::newRow("UTF-8") << QByteArray("Gr\xc3\xbc\xc3\x9f"
                                         "e\n\xf0\x9f\x8e\xac\n")
                           << QStringList{QStringLiteral("Grüße"), QString::fromUtf8("\xf0\x9f\x8e\xac")};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
}

void TestTextFiles::readLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    const QString path = m_path + QStringLiteral("/text");
    QVERIFY(writeFile(path, bytes));

    Files::TextFileReader reader;
    QVERIFY(reader.open(path));
    QStringList read;
    while (!reader.atEnd())
        read.append(reader.readLine());
    QCOMPARE(read, lines);
    QVERIFY(reader.atEnd());
    QCOMPARE(reader.readLine(), QString());
    QCOMPARE(reader.readLine(), QString());
}

void TestTextFiles::readerOpenFailsOnMissingFile()
{
    Files::TextFileReader reader;
    QVERIFY(!reader.open(m_path + QStringLiteral("/missing")));
    QVERIFY(reader.atEnd());
    QCOMPARE(reader.readLine(), QString());
}

void TestTextFiles::writerBytes()
{
    const QString path = m_path + QStringLiteral("/out.txt");
    QVERIFY(writeFile(path, "an older and longer content"));
    {
        Files::TextFileWriter writer;
        QVERIFY(writer.create(path));
        QVERIFY(writer.isOpen());
        writer.writeLine(QStringLiteral("Grüße"));
        writer.writeLine(QString());
        writer.writeLine(QStringLiteral("last"));
    }
    QCOMPARE(readFile(path), QByteArray("Gr\xc3\xbc\xc3\x9f"
                                        "e\n\nlast\n"));
    Files::TextFileWriter failing;
    QVERIFY(!failing.create(m_path + QStringLiteral("/missing/out.txt")));
    QVERIFY(!failing.isOpen());
}

void TestTextFiles::writerAfterCloseHasNoEffect()
{
    const QString path = m_path + QStringLiteral("/out.txt");
    Files::TextFileWriter writer;
    QVERIFY(writer.create(path));
    writer.writeLine(QStringLiteral("kept"));
    writer.close();
    QVERIFY(!writer.isOpen());
    writer.writeLine(QStringLiteral("lost"));
    QCOMPARE(readFile(path), QByteArrayLiteral("kept\n"));
}

void TestTextFiles::atomicWriteNarrowsAnOlderMode()
{
    const QString path = m_path + QStringLiteral("/settings.ini");
    QVERIFY(writeFile(path, "old"));
    QVERIFY(::chmod(path.toUtf8().constData(), 0644) == 0);

    QVERIFY(Files::writeTextFileAtomically(path, {QStringLiteral("one"), QStringLiteral("zwei ü")}));
    QCOMPARE(readFile(path), QByteArray("one\nzwei \xc3\xbc\n"));
    QCOMPARE(fileMode(path), 0600);
    QVERIFY(Files::writeTextFileAtomically(m_path + QStringLiteral("/fresh"), {}, 0640));
    QCOMPARE(fileMode(m_path + QStringLiteral("/fresh")), 0640);
    QCOMPARE(readFile(m_path + QStringLiteral("/fresh")), QByteArray());
    QCOMPARE(names(m_path), (QStringList{QStringLiteral("fresh"), QStringLiteral("settings.ini")}));
}

void TestTextFiles::atomicWriteFailsWithoutTouchingTheOldFile()
{
    const QString path = m_path + QStringLiteral("/settings.ini");
    QVERIFY(writeFile(path, "old content\n"));
    const QStringList lines(1000, QString(100, u'x'));

    bool written = true;
    {
        const FileSizeLimit fullDisk(4096, FileSizeLimit::Overstep::FailsTheWrite);
        QVERIFY(fullDisk.active());
        written = Files::writeTextFileAtomically(path, lines);
    }

    QVERIFY(!written);
    QCOMPARE(readFile(path), QByteArrayLiteral("old content\n"));
    QCOMPARE(names(m_path), QStringList{QStringLiteral("settings.ini")});
}

void TestTextFiles::atomicWriteIntoUnwritableDirectory()
{
    QVERIFY(!Files::writeTextFileAtomically(m_path + QStringLiteral("/missing/settings.ini"), {QStringLiteral("x")}));
    if (::geteuid() == 0)
        QSKIP("Directory permissions do not stop the superuser");
    const QString path = m_path + QStringLiteral("/locked/settings.ini");
    QVERIFY(QDir(m_path).mkdir(QStringLiteral("locked")));
    QVERIFY(writeFile(path, "old"));
    QVERIFY(::chmod((m_path + QStringLiteral("/locked")).toUtf8().constData(), 0500) == 0);
    const bool written = Files::writeTextFileAtomically(path, {QStringLiteral("new")});
    ::chmod((m_path + QStringLiteral("/locked")).toUtf8().constData(), 0700);
    QVERIFY(!written);
    QCOMPARE(readFile(path), QByteArrayLiteral("old"));
    QCOMPARE(names(m_path + QStringLiteral("/locked")), QStringList{QStringLiteral("settings.ini")});
}

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_text_files.moc"
