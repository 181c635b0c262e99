#include "scripted_window_system.h"
#include "shell/credential_block.h"
#include "shell/settings.h"
#include "test_session.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <sys/stat.h>

using Platform::Answer;
using Platform::Buttons;

namespace {

const QString updateTitle = QStringLiteral("Check for updates");
const QString updateText =
    QStringLiteral("Do you want KORVObinder to check for updates automatically (highly recommended)?");

QByteArray tenLines(const QByteArray &login, const QByteArray &password, const QByteArray &lastDirectory,
                    const QByteArray &check, const QByteArray &server)
{
    return ";KORVO login (crypted - do not modify)\n" + login + "\n;KORVO password (crypted - do not modify)\n" +
           password + "\n;Last directory from previous session\n" + lastDirectory + "\n;Check for updates?\n" + check +
           "\n;Update server\n" + server + "\n";
}

const QByteArray abcBlock = "YQBiAGMAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA==";
const QByteArray pa55wordBlock = "cABhADUANQB3AG8AcgBkAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA==";

} // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void savedFileIsTenLinesByteForByte();
    void valuesSurviveSaveAndLoad_data();
    void valuesSurviveSaveAndLoad();
    void loadReadsAndCompletes_data();
    void loadReadsAndCompletes();
    void credentialDecodingIsTolerant_data();
    void credentialDecodingIsTolerant();
    void unopenableFileLeavesSettingsUnchanged();
    void fileIsOwnerOnly();
    void saveFailsWhenFileCannotBeCreated();
    void interruptedSaveKeepsTheOldFile();
    void lineBreakInLastDirectoryKeepsTenLines();
};

void TestSettingsFile::savedFileIsTenLinesByteForByte()
{
    TestSession ts;
    Settings &settings = ts.session->settings;
    settings.login = QStringLiteral("abc");
    settings.password = QStringLiteral("pa55word");
    settings.lastDirectory = QStringLiteral("/Users/anna/Projects");
    settings.checkForUpdates = QStringLiteral("Yes");
    settings.updateServer = ts.session->context.publicUpdateHost;

    QVERIFY(SettingsFile::save(*ts.session));

    const QByteArray bytes = readFile(SettingsFile::path(ts.base()));
    QCOMPARE(bytes, tenLines(abcBlock, pa55wordBlock, "/Users/anna/Projects", "Yes",
                             ts.session->context.publicUpdateHost.toUtf8()));
    QVERIFY(!bytes.contains('\r'));
    const QList<QByteArray> lines = bytes.split('\n');
    QCOMPARE(lines.size(), 11); // ten lines, each ended by a line feed
    QCOMPARE(lines.at(1).size(), 56);
    QCOMPARE(lines.at(3).size(), 56);
    QVERIFY(lines.at(1).endsWith("==") && lines.at(3).endsWith("=="));
}

void TestSettingsFile::valuesSurviveSaveAndLoad_data()
{
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("expectedLogin");
    QTest::addColumn<QString>("lastDirectory");

    const QString nineteen = QStringLiteral("abcdefghijklmnopqrs");
    const QString twenty = nineteen + u't';
    const QString twentyFive = twenty + QStringLiteral("uvwxy");
    const QString grin = QString::fromUtf8("\xF0\x9F\x98\x80"); // one character, two code units
    const QString ascii = QStringLiteral("/Users/anna/Projects");

    QTest::newRow("19 code units") << nineteen << nineteen << ascii;
    QTest::newRow("20 code units, no terminator") << twenty << twenty << ascii;
    QTest::newRow("25 code units keep the first 20") << twentyFive << twenty << ascii;
    QTest::newRow("character above U+FFFF counts twice")
        << (grin + nineteen.left(18)) << (grin + nineteen.left(18)) << ascii;
    QTest::newRow("surrogate pair cut at unit 20") << (nineteen + grin) << (nineteen + grin.at(0)) << ascii;
    QTest::newRow("empty login") << QString() << QString() << ascii;
    QTest::newRow("non-ASCII last directory") << QStringLiteral("abc") << QStringLiteral("abc")
                                              << QString::fromUtf8("/Users/zo\xC3\xAB/\xE6\x98\xA0\xE5\x83\x8F/Proj");
}

void TestSettingsFile::valuesSurviveSaveAndLoad()
{
    QFETCH(QString, login);
    QFETCH(QString, expectedLogin);
    QFETCH(QString, lastDirectory);

    TestSession writer;
    writer.session->settings = {login, QStringLiteral("secret"), lastDirectory, QStringLiteral("No"),
                                QStringLiteral("update.example.test")};
    QVERIFY(SettingsFile::save(*writer.session));

    Session reader(writer.session->context, writer.windows, writer.opener);
    QVERIFY(SettingsFile::load(reader));
    QCOMPARE(reader.settings.login, expectedLogin);
    QCOMPARE(reader.settings.password, QStringLiteral("secret"));
    QCOMPARE(reader.settings.lastDirectory, lastDirectory);
    QCOMPARE(reader.settings.checkForUpdates, QStringLiteral("No"));
    QCOMPARE(reader.settings.updateServer, QStringLiteral("update.example.test"));
    KORVO_VERIFY_SCRIPT(writer.windows);
}

void TestSettingsFile::loadReadsAndCompletes_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("questionAsked");
    QTest::addColumn<QString>("lastDirectory");
    QTest::addColumn<QString>("checkForUpdates");
    QTest::addColumn<QByteArray>("fileAfterwards"); // empty: the file is left as it was

    const QByteArray complete = tenLines(abcBlock, pa55wordBlock, "/p", "No", "srv");
    QTest::newRow("complete file, nothing written") << complete << false << "/p"
                                                    << "No" << QByteArray();
    QByteArray crlf = complete;
    crlf.replace("\n", "\r\n");
    QTest::newRow("Windows line ends") << crlf << false << "/p"
                                       << "No" << QByteArray();
    QByteArray cr = complete;
    cr.replace("\n", "\r");
    QTest::newRow("lone carriage returns") << cr << false << "/p"
                                           << "No" << QByteArray();
    QByteArray zeroEnds = complete;
    zeroEnds.replace("/p\n", QByteArray("/p\0", 3));
    QTest::newRow("zero byte ends a line") << zeroEnds << false << "/p"
                                           << "No" << QByteArray();
    QTest::newRow("lower-case yes is kept, no question")
        << tenLines(abcBlock, pa55wordBlock, "/p", "yes", "srv") << false << "/p"
        << "yes" << QByteArray();
    QTest::newRow("byte order mark only spoils the comment") << ("\xEF\xBB\xBF" + complete) << false << "/p"
                                                             << "No" << QByteArray();
    QTest::newRow("four lines: asked, completed and saved")
        << QByteArray(";KORVO login (crypted - do not modify)\n" + abcBlock +
                      "\n;KORVO password (crypted - do not modify)\n" + pa55wordBlock + "\n")
        << true << ""
        << "Yes" << tenLines(abcBlock, pa55wordBlock, "", "Yes", "127.0.0.1");
    QTest::newRow("server missing: default written")
        << tenLines(abcBlock, pa55wordBlock, "/p", "No", "") << false << "/p"
        << "No" << tenLines(abcBlock, pa55wordBlock, "/p", "No", "127.0.0.1");
    QTest::newRow("more than ten lines: the rest is never read") << (complete + "extra\nlines\n") << false << "/p"
                                                                 << "No" << QByteArray();
}

void TestSettingsFile::loadReadsAndCompletes()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, questionAsked);
    QFETCH(QString, lastDirectory);
    QFETCH(QString, checkForUpdates);
    QFETCH(QByteArray, fileAfterwards);

    TestSession ts;
    QVERIFY(writeFile(SettingsFile::path(ts.base()), file));
    if (questionAsked)
        ts.windows.expectMessage(updateTitle, updateText, Buttons::YesNo, Answer::Yes);

    QVERIFY(SettingsFile::load(*ts.session));
    KORVO_VERIFY_SCRIPT(ts.windows);
    QCOMPARE(ts.session->settings.login, QStringLiteral("abc"));
    QCOMPARE(ts.session->settings.password, QStringLiteral("pa55word"));
    QCOMPARE(ts.session->settings.lastDirectory, lastDirectory);
    QCOMPARE(ts.session->settings.checkForUpdates, checkForUpdates);
    QCOMPARE(readFile(SettingsFile::path(ts.base())), fileAfterwards.isEmpty() ? file : fileAfterwards);

    // Whatever the file looked like, the next save writes the plain format.
    QVERIFY(SettingsFile::save(*ts.session));
    QVERIFY(!readFile(SettingsFile::path(ts.base())).contains('\r'));
}

void TestSettingsFile::credentialDecodingIsTolerant_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << QString::fromLatin1(abcBlock) << QStringLiteral("abc");
    QTest::newRow("empty line") << QString() << QString();
    // "+/8A" is the block of U+FFFB (bytes FB FF) followed by a zero byte
    QTest::newRow("minus and underscore for plus and slash") << QStringLiteral("-_8AAAAA") << QString(QChar(0xFFFB));
    QTest::newRow("tab before a group is skipped")
        << (QStringLiteral("\tYQBi\tAGMA") + QString::fromLatin1(abcBlock.mid(8))) << QStringLiteral("abc");
    QTest::newRow("other characters count as zero") << QStringLiteral("YQ*iAGMA") << QStringLiteral("a\"c");
    QTest::newRow("no padding, odd last byte") << QStringLiteral("YQBiAGM") << QStringLiteral("abc");
    QTest::newRow("odd byte forms a code unit") << QStringLiteral("YQBi") << QStringLiteral("a") + QChar(0x62);
    QTest::newRow("no more than 40 bytes")
        << QStringLiteral("QQBCAEEAQgBBAEIAQQBCAEEAQgBBAEIAQQBCAEEAQgBBAEIAQQBCAEEAQgBBAEIAQQBCAEEAQgBBAEIA")
        << QStringLiteral("AB").repeated(10);
}

void TestSettingsFile::credentialDecodingIsTolerant()
{
    QFETCH(QString, line);
    QFETCH(QString, value);
    QCOMPARE(CredentialBlock::decode(line), value);
}

void TestSettingsFile::unopenableFileLeavesSettingsUnchanged()
{
    TestSession ts;
    QVERIFY(QDir().mkdir(SettingsFile::path(ts.base())));
    ts.session->settings.lastDirectory = ts.base();

    QVERIFY(!SettingsFile::load(*ts.session));
    QCOMPARE(ts.session->settings.lastDirectory, ts.base());
    QVERIFY(ts.session->settings.checkForUpdates.isEmpty());
    KORVO_VERIFY_SCRIPT(ts.windows);
}

void TestSettingsFile::fileIsOwnerOnly()
{
    TestSession ts;
    const QString path = SettingsFile::path(ts.base());
    QVERIFY(SettingsFile::save(*ts.session));
    QCOMPARE(fileMode(path), 0600);

    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0644) == 0);
    QVERIFY(SettingsFile::save(*ts.session));
    QCOMPARE(fileMode(path), 0600);
}

void TestSettingsFile::saveFailsWhenFileCannotBeCreated()
{
    TestSession ts;
    Session missingBase(testContext(ts.base() + QStringLiteral("/missing")), ts.windows, ts.opener);
    QVERIFY(!SettingsFile::save(missingBase));
    QVERIFY(!QFile::exists(SettingsFile::path(missingBase.context.baseDirectory)));
}

void TestSettingsFile::interruptedSaveKeepsTheOldFile()
{
    TestSession ts;
    const QString path = SettingsFile::path(ts.base());
    ts.session->settings.login = QStringLiteral("abc");
    QVERIFY(SettingsFile::save(*ts.session));
    const QByteArray before = readFile(path);

    bool saved = true;
    {
        const FileSizeLimit fullDisk(64, FileSizeLimit::Overstep::FailsTheWrite);
        QVERIFY(fullDisk.active());
        saved = SettingsFile::save(*ts.session);
    }

    QVERIFY(!saved);
    QCOMPARE(readFile(path), before);
    QCOMPARE(QDir(ts.base()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("KORVObinder.ini")});
}

void TestSettingsFile::lineBreakInLastDirectoryKeepsTenLines()
{
    TestSession ts;
    ts.session->settings.lastDirectory = QStringLiteral("/Users/anna/two\nlines/");
    ts.session->settings.checkForUpdates = QStringLiteral("No");
    ts.session->settings.updateServer = QStringLiteral("srv");
    QVERIFY(SettingsFile::save(*ts.session));

    const QByteArray expected = tenLines(CredentialBlock::encode({}).toLatin1(), CredentialBlock::encode({}).toLatin1(),
                                         ts.base().toUtf8(), "No", "srv");
    QCOMPARE(readFile(SettingsFile::path(ts.base())), expected);
    // The run goes on with the directory the user chose.
    QCOMPARE(ts.session->settings.lastDirectory, QStringLiteral("/Users/anna/two\nlines/"));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settings_file.moc"
