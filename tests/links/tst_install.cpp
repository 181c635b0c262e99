#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

// Lays out a base directory from this build tree into an empty folder, the way
// the farm installs the program, and checks every file the program relies on.
class TestInstall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void program();
    void sevenZip();
    void checklists_data();
    void checklists();
    void guide();

private:
    QTemporaryDir m_prefix;
};

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// ELF, or Mach-O in any of its byte orders and the universal form.
bool isNativeExecutable(const QByteArray &content)
{
    static const QByteArray magics[] = {
        QByteArrayLiteral("\x7F"
                          "ELF"),
        QByteArrayLiteral("\xCF\xFA\xED\xFE"),
        QByteArrayLiteral("\xCE\xFA\xED\xFE"),
        QByteArrayLiteral("\xFE\xED\xFA\xCF"),
        QByteArrayLiteral("\xCA\xFE\xBA\xBE"),
    };
    for (const QByteArray &magic : magics) {
        if (content.startsWith(magic))
            return true;
    }
    return false;
}

QString base(const QTemporaryDir &prefix)
{
    return prefix.path();
}

} // namespace

void TestInstall::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    QVERIFY(QDir(m_prefix.path()).isEmpty());

    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(KORVO_CMAKE_COMMAND),
                  {QStringLiteral("--install"), QStringLiteral(KORVO_BUILD_DIRECTORY), QStringLiteral("--prefix"),
                   m_prefix.path()});
    QVERIFY(install.waitForFinished(120000));
    const QByteArray output = install.readAll();
    QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0, output.constData());
}

void TestInstall::program()
{
#ifdef Q_OS_MACOS
    const QString program = base(m_prefix) + QStringLiteral("/KORVObinder.app/Contents/MacOS/KORVObinder");
    QVERIFY(QFileInfo(base(m_prefix) + QStringLiteral("/KORVObinder.app/Contents/Info.plist")).isFile());
#else
    const QString program = base(m_prefix) + QStringLiteral("/KORVObinder");
#endif
    const QFileInfo info(program);
    QVERIFY2(info.isFile(), qPrintable(program));
    QVERIFY(info.isExecutable());
    QVERIFY(isNativeExecutable(readAll(program)));
}

// The archive builder starts "7za" from the base directory: it must be the real
// console program, not a wrapper script that points elsewhere.
void TestInstall::sevenZip()
{
    const QString sevenZip = base(m_prefix) + QStringLiteral("/7za");
    const QFileInfo info(sevenZip);
    QVERIFY2(info.isFile(), qPrintable(sevenZip));
    QVERIFY(!info.isSymLink());
    QVERIFY(info.isExecutable());
    const QByteArray content = readAll(sevenZip);
    QVERIFY(!content.startsWith("#!"));
    QVERIFY(isNativeExecutable(content));

    QProcess run;
    run.start(sevenZip, {QStringLiteral("i")});
    QVERIFY(run.waitForFinished(30000));
    QCOMPARE(run.exitStatus(), QProcess::NormalExit);
    QCOMPARE(run.exitCode(), 0);
}

void TestInstall::checklists_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("mentions");

    QTest::newRow("Maya") << QStringLiteral("Checklist_Maya.txt")
                          << QStringList{QStringLiteral("workspace.mel"),
                                         QStringLiteral("scenes"),
                                         QStringLiteral(".mb"),
                                         QStringLiteral("sourceimages"),
                                         QStringLiteral("/Applications/KORVObinder/archive/"),
                                         QStringLiteral(".vua")};
    QTest::newRow("Lightwave")
        << QStringLiteral("Checklist_Lightwave.txt")
        << QStringList{QStringLiteral("scenes"),        QStringLiteral(".lws"),       QStringLiteral("radiositycache"),
                       QStringLiteral("LWEXT9-64.CFG"), QStringLiteral("LWEXT9.CFG"), QStringLiteral("LWEXT10.CFG"),
                       QStringLiteral("LWEXT11.CFG"),   QStringLiteral("-64.CFG"),    QStringLiteral(".vul")};
    QTest::newRow("Cinema4D") << QStringLiteral("Checklist_Cinema4D.txt")
                              << QStringList{QStringLiteral(".c4d"), QStringLiteral("xref_"), QStringLiteral(".vuc")};
    QTest::newRow("Terragen") << QStringLiteral("Checklist_Terragen.txt")
                              << QStringList{QStringLiteral(".tgd"), QStringLiteral(" (gathered)"),
                                             QStringLiteral(".vut")};
}

// Opened in the user's text editor: plain UTF-8 without a byte order mark, line feeds only.
void TestInstall::checklists()
{
    QFETCH(QString, name);
    QFETCH(QStringList, mentions);

    const QString path = base(m_prefix) + u'/' + name;
    QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    const QByteArray content = readAll(path);
    QVERIFY(!content.isEmpty());
    QCOMPARE(content, readAll(QStringLiteral(KORVO_SOURCE_DIRECTORY "/docs/checklists/") + name));
    QVERIFY(!content.startsWith("\xEF\xBB\xBF"));
    QVERIFY(!content.contains('\r'));
    QVERIFY(content.endsWith('\n'));
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(content);
    QVERIFY(!decoder.hasError());
    for (const QString &mention : mentions)
        QVERIFY2(text.contains(mention), qPrintable(mention));
    // The naming rules every scene must meet.
    QVERIFY(text.contains(QStringLiteral("20 characters")));
    QVERIFY(text.contains(QStringLiteral("No blanks")));
}

void TestInstall::guide()
{
    const QString path = base(m_prefix) + QStringLiteral("/KORVObinder_Mac.pdf");
    QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    const QByteArray content = readAll(path);
    QVERIFY(content.size() > 0);
    QVERIFY(content.startsWith("%PDF-"));
    QVERIFY(content.trimmed().endsWith("%%EOF"));
    // A guide of several pages, its fonts inside so it reads the same on every Mac.
    QVERIFY(content.count("/Type /Page") - content.count("/Type /Pages") >= 4);
    QVERIFY(content.contains("/FontFile"));
    if (QFileInfo::exists(QStringLiteral(KORVO_SOURCE_DIRECTORY "/docs/main_window.png")))
        QVERIFY2(content.contains("/Subtype /Image"), "the guide lacks the main window's picture");
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
