// The "Config" button: the update choice, saved at once, then optionally a new
// login and password.

#include "shell/main_window.h"
#include "shell_flow.h"

#include <QTest>

using Platform::Answer;
using Platform::Buttons;

namespace {

StoredSettings oldSettings(const TestSession &ts)
{
    return {QStringLiteral("alice"), QStringLiteral("old-pw"), ts.scratch(), QStringLiteral("No"),
            QStringLiteral("updates.example.test")};
}

void expectModifyQuestion(ScriptedWindowSystem &windows, Answer answer, std::function<void()> during = {})
{
    windows.expectMessage(
        QStringLiteral("Modify user info"),
        QStringLiteral("Do you want to modify the login/password KORVObinder is using to access the KORVO web site?"),
        Buttons::YesNo, answer, std::move(during));
}

// Chooses the application, presses "Config" and then the buttons in `after`, then closes.
void queueConfigRun(ScriptedWindowSystem &windows, const QList<int> &after = {})
{
    windows.queueClick(lightwaveButton);
    windows.queueClick(Gadget::Config);
    for (int gadget : after)
        windows.queueClick(gadget);
    windows.queueClose(0);
}

} // namespace

class ConfigTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // No to the modify question: the new update choice is saved at once, the account stays.
    void modifyAnsweredNo()
    {
        TestSession ts;
        StoredSettings values = oldSettings(ts);
        QVERIFY(writeFile(iniPath(ts), settingsFileBytes(values)));
        ActionRecorder recorder(ts.windows);

        values.checkForUpdates = QStringLiteral("Yes");
        QByteArray whileAsked;
        Expect::updateQuestion(ts.windows, Answer::Yes);
        expectModifyQuestion(ts.windows, Answer::No, [&] { whileAsked = readFile(iniPath(ts)); });
        queueConfigRun(ts.windows);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QCOMPARE(whileAsked, settingsFileBytes(values));
        QCOMPARE(readFile(iniPath(ts)), settingsFileBytes(values));
        // Config does not run the check itself; the new choice counts from the next start.
        QVERIFY(recorder.calls.isEmpty());
    }

    // Closed login and password boxes come back until something is entered.
    void emptyAnswersAskAgain()
    {
        TestSession ts;
        StoredSettings values = oldSettings(ts);
        QVERIFY(writeFile(iniPath(ts), settingsFileBytes(values)));
        ActionRecorder recorder(ts.windows);

        Expect::updateQuestion(ts.windows, Answer::No);
        expectModifyQuestion(ts.windows, Answer::Yes);
        for (int attempt = 0; attempt < 3; ++attempt)
            Expect::loginInput(ts.windows, QString());
        Expect::loginInput(ts.windows, QStringLiteral("bob"));
        Expect::passwordInput(ts.windows, QString());
        Expect::passwordInput(ts.windows, QStringLiteral("new pw"));

        values.login = QStringLiteral("bob");
        values.password = QStringLiteral("new pw");
        QByteArray whileReported;
        ts.windows.expectMessage(QStringLiteral("User info updated"),
                                 QStringLiteral("Your KORVO login and password have been updated successfully."),
                                 Buttons::Ok, Answer::Ok, [&] { whileReported = readFile(iniPath(ts)); });
        queueConfigRun(ts.windows);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QCOMPARE(whileReported, settingsFileBytes(values));
        QCOMPARE(readFile(iniPath(ts)), settingsFileBytes(values));
    }

    // The file cannot be written: the update choice changes silently, the new
    // account is reported as not updated, yet stays in use for the run and the
    // shutdown tries to write it again.
    void unwritableSettingsFile()
    {
        TestSession ts;
        QVERIFY(writeFile(iniPath(ts), settingsFileBytes(oldSettings(ts))));
        ActionRecorder recorder(ts.windows);
        QStringList accountAtUpload;
        recorder.duringAbout = [&](Session &session) {
            accountAtUpload = {session.settings.login, session.settings.password, session.settings.checkForUpdates};
        };

        Expect::updateQuestion(ts.windows, Answer::Yes, [&] { QVERIFY(blockSettingsFile(ts)); });
        expectModifyQuestion(ts.windows, Answer::Yes);
        Expect::loginInput(ts.windows, QStringLiteral("carol"));
        Expect::passwordInput(ts.windows, QStringLiteral("pw2"));
        ts.windows.expectMessage(
            QStringLiteral("KORVObinder error"),
            QStringLiteral(
                "Could not write .ini file, your KORVO login and password have NOT been updated successfully!"),
            Buttons::Ok);
        Expect::noFileBox(ts.windows);
        queueConfigRun(ts.windows, {Gadget::About});

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QCOMPARE(accountAtUpload, (QStringList{QStringLiteral("carol"), QStringLiteral("pw2"), QStringLiteral("Yes")}));
        QCOMPARE(recorder.calls, QStringList{QStringLiteral("about")});
    }

    // Config can run again and again; each run saves at least once.
    void repeatedConfig()
    {
        TestSession ts;
        StoredSettings values = oldSettings(ts);
        QVERIFY(writeFile(iniPath(ts), settingsFileBytes(values)));
        ActionRecorder recorder(ts.windows);

        Expect::updateQuestion(ts.windows, Answer::Yes);
        expectModifyQuestion(ts.windows, Answer::No);
        Expect::updateQuestion(ts.windows, Answer::No);
        expectModifyQuestion(ts.windows, Answer::No);
        queueConfigRun(ts.windows, {Gadget::Config});

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QCOMPARE(readFile(iniPath(ts)), settingsFileBytes(values));
    }
};

QTEST_GUILESS_MAIN(ConfigTest)
#include "tst_config.moc"
