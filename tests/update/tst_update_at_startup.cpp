#include "shell/credential_block.h"
#include "shell/main_window.h"
#include "update_rig.h"

using Platform::Answer;
using Platform::Buttons;

namespace {

// A settings file with automatic checks on, its lines ended by carriage return
// and line feed: any save rewrites it with line feeds alone, so unchanged
// bytes prove that it was not saved.
QByteArray settingsWithAutomaticCheck()
{
    const QStringList lines{
        QStringLiteral(";KORVO login (crypted - do not modify)"),
        CredentialBlock::encode(QStringLiteral("customer")),
        QStringLiteral(";KORVO password (crypted - do not modify)"),
        CredentialBlock::encode(QStringLiteral("secret")),
        QStringLiteral(";Last directory from previous session"),
        QStringLiteral("/projects/"),
        QStringLiteral(";Check for updates?"),
        QStringLiteral("Yes"),
        QStringLiteral(";Update server"),
        QStringLiteral("127.0.0.2"),
    };
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

Actions updateActions()
{
    Actions actions;
    actions.checkForUpdates = [](Session &session, int showUpToDate) {
        return CheckForUpdates(session, session.context.programVersion, showUpToDate);
    };
    return actions;
}

} // namespace

class UpdateAtStartupTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void downloadEndsProgramBeforeMainWindow();
    void unreachableServerReportedBeforeMainWindow();
};

void UpdateAtStartupTest::downloadEndsProgramBeforeMainWindow()
{
    const QByteArray update = QByteArrayLiteral("PK new version");
    UpdateRig rig("1.7", ReferenceUpdateServer::Mode::Normal, update);
    QVERIFY(rig.listening);
    const QString ini = rig.base() + QStringLiteral("/KORVObinder.ini");
    const QByteArray settings = settingsWithAutomaticCheck();
    QVERIFY(writeFile(ini, settings));

    rig.windows.expectMessage(UpdateText::title, UpdateText::question(QStringLiteral("1.7")), Buttons::YesNo,
                              Answer::Yes);
    rig.windows.expectMessage(UpdateText::title, UpdateText::downloaded(rig.base()), Buttons::Ok);

    QCOMPARE(runProgram(rig.session(), updateActions()), 0);
    KORVO_VERIFY_SCRIPT(rig.windows);
    QCOMPARE(rig.windows.windowsOpened, (QList<int>{3, 4}));
    QVERIFY(!rig.windows.windowsOpened.contains(Window::Main));
    QCOMPARE(readFile(ini), settings);
    QCOMPARE(readFile(rig.archive()), update);
    QCOMPARE(rig.opener.opened, QStringList{rig.base()});
    QVERIFY(rig.connectionEnded());
    QCOMPARE(rig.wire(), UpdateText::greeting + UpdateText::request);
}

void UpdateAtStartupTest::unreachableServerReportedBeforeMainWindow()
{
    UpdateRig rig("1.7");
    rig.context.updatePort = closedPort();
    QVERIFY(writeFile(rig.base() + QStringLiteral("/KORVObinder.ini"), settingsWithAutomaticCheck()));

    rig.windows.expectMessage(UpdateText::title, UpdateText::notAvailable, Buttons::Ok, Answer::Ok,
                              [&] { QVERIFY(!rig.windows.windowsOpened.contains(Window::Main)); });
    // The program goes on to the main window and the chooser; closing the
    // chooser ends it.
    rig.windows.queueClose(Window::Chooser);

    QCOMPARE(runProgram(rig.session(), updateActions()), 0);
    KORVO_VERIFY_SCRIPT(rig.windows);
    QVERIFY(rig.windows.windowsOpened.contains(Window::Main));
}

QTEST_GUILESS_MAIN(UpdateAtStartupTest)
#include "tst_update_at_startup.moc"
