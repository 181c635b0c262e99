#include "platform/process.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Platform;

namespace {

const QString shell = QStringLiteral("/bin/sh");

QStringList script(const QString &commands, const QStringList &arguments = {})
{
    return QStringList{QStringLiteral("-c"), commands, QStringLiteral("child")} + arguments;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void argumentsArriveUnsplit_data();
    void argumentsArriveUnsplit();
    void exitStatus_data();
    void exitStatus();
    void errorOutputIsCollected();
    void largeErrorOutputDoesNotBlockTheChild();
    void workingDirectoryIsHonoured();
    void inputIsAtItsEnd();
    void programIsLookedUpAlongThePath();
    void missingProgramDoesNotStart();
    void polledHandle();
    void detachedStart();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestProcess::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestProcess::argumentsArriveUnsplit_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("blanks") << QStringList{QStringLiteral("/Users/me/My Project/")};
    QTest::newRow("blanks, tab and line feed") << QStringList{QStringLiteral("a b\tc\nd")};
    QTest::newRow("quotes and shell characters") << QStringList{QStringLiteral("\"quoted\" 'single' $HOME `x` ;|&*")};
    QTest::newRow("several, one empty") << QStringList{QStringLiteral("a"), QString(), QStringLiteral("-mx=5"),
                                                       QStringLiteral("Grüße")};
}

void TestProcess::argumentsArriveUnsplit()
{
    QFETCH(QStringList, arguments);
    const QString out = m_dir->path() + QStringLiteral("/arguments");
    // The child writes how many arguments it got and each of them, every one followed by a zero byte.
    const ProcessResult result = runAndWait(
        shell,
        script(QStringLiteral("out=$1; shift; printf '%s\\0' \"$#\" \"$@\" > \"$out\""), QStringList{out} + arguments),
        m_dir->path());
    QVERIFY(result.succeeded);
    QByteArray expected = QByteArray::number(arguments.size()) + '\0';
    for (const QString &argument : arguments)
        expected += argument.toUtf8() + '\0';
    QCOMPARE(contents(out), expected);
}

void TestProcess::exitStatus_data()
{
    QTest::addColumn<QString>("commands");
    QTest::addColumn<bool>("succeeded");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("crashed");
    QTest::newRow("success") << QStringLiteral("exit 0") << true << 0 << false;
    QTest::newRow("failure") << QStringLiteral("exit 2") << false << 2 << false;
    QTest::newRow("high status") << QStringLiteral("exit 255") << false << 255 << false;
    QTest::newRow("killed by a signal") << QStringLiteral("kill -9 $$") << false << -1 << true;
    QTest::newRow("terminated") << QStringLiteral("kill -TERM $$") << false << -1 << true;
}

void TestProcess::exitStatus()
{
    QFETCH(QString, commands);
    QFETCH(bool, succeeded);
    QFETCH(int, exitCode);
    QFETCH(bool, crashed);
    for (const bool polled : {false, true}) {
        ProcessResult result;
        if (polled) {
            ChildProcess child;
            QVERIFY(child.start(shell, script(commands), m_dir->path()));
            QVERIFY(child.waitForEnd(-1));
            QVERIFY(!child.isRunning());
            result = child.result();
        } else {
            result = runAndWait(shell, script(commands), m_dir->path());
        }
        QVERIFY(result.started);
        QCOMPARE(result.succeeded, succeeded);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.crashed, crashed);
    }
}

void TestProcess::errorOutputIsCollected()
{
    const ProcessResult result = runAndWait(
        shell, script(QStringLiteral("echo to-standard-output; echo 'Error: no files' >&2; exit 1")), m_dir->path());
    QVERIFY(result.started);
    QVERIFY(!result.succeeded);
    QCOMPARE(result.errorOutput, QByteArrayLiteral("Error: no files\n"));
}

void TestProcess::largeErrorOutputDoesNotBlockTheChild()
{
    // Far more than a pipe holds: the child only ends when its error output is read meanwhile.
    const QString commands = QStringLiteral("i=0; while [ $i -lt 4000 ]; do "
                                            "echo 'a line of error output that fills the pipe quickly' >&2; "
                                            "echo 'and as much on standard output'; i=$((i+1)); done");
    ChildProcess child;
    QVERIFY(child.start(shell, script(commands), m_dir->path()));
    QVERIFY(child.waitForEnd(-1));
    const ProcessResult result = child.result();
    QVERIFY(result.succeeded);
    QCOMPARE(result.errorOutput.count('\n'), 4000);
    QVERIFY(result.errorOutput.startsWith("a line of error output"));
}

void TestProcess::workingDirectoryIsHonoured()
{
    const QString directory = m_dir->path() + QStringLiteral("/project dir");
    QVERIFY(QDir().mkpath(directory));
    QVERIFY(runAndWait(shell, script(QStringLiteral("pwd > here")), directory).succeeded);
    QCOMPARE(contents(directory + QStringLiteral("/here")), QDir(directory).canonicalPath().toUtf8() + '\n');

    const ProcessResult missing =
        runAndWait(shell, script(QStringLiteral("exit 0")), m_dir->path() + QStringLiteral("/missing"));
    QVERIFY(!missing.started);
    QVERIFY(!missing.succeeded);
}

void TestProcess::inputIsAtItsEnd()
{
    // A child that asks a question must not wait for an answer nobody gives.
    const ProcessResult result =
        runAndWait(shell, script(QStringLiteral("if read answer; then exit 1; else exit 0; fi")), m_dir->path());
    QVERIFY(result.succeeded);
}

void TestProcess::programIsLookedUpAlongThePath()
{
    const ProcessResult result = runAndWait(QStringLiteral("sh"), script(QStringLiteral("exit 3")), m_dir->path());
    QVERIFY(result.started);
    QCOMPARE(result.exitCode, 3);
}

void TestProcess::missingProgramDoesNotStart()
{
    const ProcessResult result = runAndWait(m_dir->path() + QStringLiteral("/no-such-program"), {}, m_dir->path());
    QVERIFY(!result.started);
    QVERIFY(!result.succeeded);
    QVERIFY(!result.crashed);

    ChildProcess child;
    QVERIFY(!child.start(m_dir->path() + QStringLiteral("/no-such-program"), {}, m_dir->path()));
    QVERIFY(!child.isRunning());
    QVERIFY(child.waitForEnd(0));
    QVERIFY(!child.result().started);
}

void TestProcess::polledHandle()
{
    // The child waits until the test lets it go, so the first checks see it running.
    const QString gate = m_dir->path() + QStringLiteral("/gate");
    ChildProcess child;
    QVERIFY(child.start(shell, script(QStringLiteral("while [ ! -e \"$1\" ]; do sleep 0.01; done; exit 4"), {gate}),
                        m_dir->path()));
    QVERIFY(child.isRunning());
    QVERIFY(!child.waitForEnd(20));
    QVERIFY(child.isRunning());
    QVERIFY(!child.result().succeeded);

    QFile(gate).open(QIODevice::WriteOnly);
    QTRY_VERIFY_WITH_TIMEOUT(child.waitForEnd(100), 10000);
    QVERIFY(!child.isRunning());
    const ProcessResult result = child.result();
    QVERIFY(result.started);
    QCOMPARE(result.exitCode, 4);
    QVERIFY(!result.crashed);
}

void TestProcess::detachedStart()
{
    const QString directory = m_dir->path() + QStringLiteral("/detached dir");
    QVERIFY(QDir().mkpath(directory));
    QVERIFY(startDetached(shell,
                          script(QStringLiteral("pwd > here.tmp; printf '%s' \"$1\" >> here.tmp; "
                                                "mv here.tmp here"),
                                 {QStringLiteral("one argument\twith tab")}),
                          directory));
    const QString done = directory + QStringLiteral("/here");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(done), 10000);
    QCOMPARE(contents(done), QDir(directory).canonicalPath().toUtf8() + "\none argument\twith tab");
    QVERIFY(!startDetached(m_dir->path() + QStringLiteral("/no-such-program"), {}));
}

QTEST_GUILESS_MAIN(TestProcess)
#include "tst_process.moc"
