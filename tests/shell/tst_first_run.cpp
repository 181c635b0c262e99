// The very first start: no settings file yet, so the program asks for the
// account and the update choice before any window opens.

#include "shell_flow.h"

#include <QFileInfo>
#include <QTest>

using Platform::Answer;
using Platform::Buttons;

class FirstRunTest : public QObject
{
    Q_OBJECT

private:
    static void expectWelcome(ScriptedWindowSystem &windows)
    {
        windows.expectMessage(QStringLiteral("Welcome to KORVObinder - First run"),
                              QStringLiteral("               This is the first time you launch KORVObinder.\n"
                                             "You will be asked to provide some information to initialize the "
                                             "program.\nPlease follow the instructions given in each requester "
                                             "title bar."),
                              Buttons::Ok);
    }

private Q_SLOTS:
    void completeFirstRun_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("wantsUpdates");

        QTest::newRow("updates wanted") << QStringLiteral("alice") << QStringLiteral("s3cret!x") << true;
        QTest::newRow("updates declined") << QStringLiteral("alice") << QStringLiteral("s3cret!x") << false;
        QTest::newRow("login of one blank") << QStringLiteral(" ") << QStringLiteral("pw") << false;
        QTest::newRow("non-ASCII account") << QStringLiteral("jürgen") << QStringLiteral("pässwört") << true;
    }

    void completeFirstRun()
    {
        QFETCH(QString, login);
        QFETCH(QString, password);
        QFETCH(bool, wantsUpdates);

        TestSession ts;
        // Neither the base directory nor its archive folder exist yet.
        QVERIFY(QDir(ts.base()).removeRecursively());

        ActionRecorder recorder(ts.windows);
        expectWelcome(ts.windows);
        Expect::loginInput(ts.windows, login);
        Expect::passwordInput(ts.windows, password);
        Expect::updateQuestion(ts.windows, wantsUpdates ? Answer::Yes : Answer::No);
        ts.windows.queueClick(lightwaveButton);
        ts.windows.queueClose(0);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);

        // The automatic check runs right after the dialogue, before the main window opens.
        if (wantsUpdates) {
            QCOMPARE(recorder.calls, QStringList{QStringLiteral("checkForUpdates(0)")});
            QCOMPARE(recorder.windowsOpenAtUpdateCheck, QList<int>{0});
        } else {
            QVERIFY(recorder.calls.isEmpty());
        }
        QCOMPARE(ts.windows.windowsOpened, (QList<int>{0, 1}));

        QVERIFY(QFileInfo(ts.base()).isDir());
        QCOMPARE(QFile::permissions(ts.base()) & 0x7777, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                             QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        QVERIFY(QFileInfo(ts.base() + QStringLiteral("/archive")).isDir());

        const StoredSettings expected{login, password, ts.base(),
                                      wantsUpdates ? QStringLiteral("Yes") : QStringLiteral("No"),
                                      ts.session->context.publicUpdateHost};
        QCOMPARE(readFile(iniPath(ts)), settingsFileBytes(expected));
        QCOMPARE(settingsLine(ts, 6), ts.base());
    }

    // Every way out of the first run shows its box and ends the program before
    // any window opens, with nothing written.
    void firstRunGivesUp_data()
    {
        QTest::addColumn<QString>("login");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("errorText");

        QTest::newRow("login box closed")
            << QString() << QString()
            << QStringLiteral("You must enter a valid KORVO login! KORVObinder will now quit");
        QTest::newRow("password box closed")
            << QStringLiteral("alice") << QString()
            << QStringLiteral("You must enter a valid KORVO password! KORVObinder will now quit");
    }

    void firstRunGivesUp()
    {
        QFETCH(QString, login);
        QFETCH(QString, password);
        QFETCH(QString, errorText);

        TestSession ts;
        ActionRecorder recorder(ts.windows);
        expectWelcome(ts.windows);
        Expect::loginInput(ts.windows, login);
        if (!login.isEmpty())
            Expect::passwordInput(ts.windows, password);
        ts.windows.expectMessage(QStringLiteral("KORVObinder error"), errorText, Buttons::Ok);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QVERIFY(recorder.calls.isEmpty());
        QVERIFY(ts.windows.windowsOpened.isEmpty());
        QVERIFY(!QFileInfo::exists(iniPath(ts)));
    }

    // The answers are complete but the file cannot be created: the program
    // ends before any window opens.
    void settingsFileCannotBeCreated_data()
    {
        QTest::addColumn<bool>("baseIsPlainFile");
        QTest::newRow("base directory is a plain file") << true;
        QTest::newRow("settings file's name taken by a directory") << false;
    }

    void settingsFileCannotBeCreated()
    {
        QFETCH(bool, baseIsPlainFile);

        TestSession ts;
        if (baseIsPlainFile) {
            QVERIFY(QDir(ts.base()).removeRecursively());
            QVERIFY(writeFile(ts.base(), "not a directory"));
        } else {
            QVERIFY(blockSettingsFile(ts));
        }

        ActionRecorder recorder(ts.windows);
        expectWelcome(ts.windows);
        Expect::loginInput(ts.windows, QStringLiteral("alice"));
        Expect::passwordInput(ts.windows, QStringLiteral("pw"));
        Expect::updateQuestion(ts.windows, Answer::Yes);
        Expect::noFileBox(ts.windows);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        // Ended before the automatic check and before any window.
        QVERIFY(recorder.calls.isEmpty());
        QVERIFY(ts.windows.windowsOpened.isEmpty());
        if (baseIsPlainFile)
            QCOMPARE(readFile(ts.base()), QByteArray("not a directory"));
        else
            QVERIFY(QFileInfo(iniPath(ts)).isDir());
    }
};

QTEST_GUILESS_MAIN(FirstRunTest)
#include "tst_first_run.moc"
