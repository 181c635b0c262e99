#include "update_rig.h"

#include <sys/resource.h>
#include <unistd.h>

using Platform::Buttons;

// In its own program: the network-ready flag lasts for the process, so only
// the first check of a process can meet a network that does not initialise.
class UpdateNetworkErrorTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void errorThenRetry();
};

void UpdateNetworkErrorTest::errorThenRetry()
{
    UpdateRig rig("1.6");
    QVERIFY(rig.listening);

    // No descriptor left for a socket: every one below the lowest free one is
    // in use and the limit forbids any other.
    rlimit normal{};
    QCOMPARE(getrlimit(RLIMIT_NOFILE, &normal), 0);
    const int lowestFree = dup(0);
    QVERIFY(lowestFree >= 0);
    close(lowestFree);
    rlimit exhausted = normal;
    exhausted.rlim_cur = rlim_t(lowestFree);
    rig.windows.expectMessage(QStringLiteral("Error"), QStringLiteral("Can't initialize the network !"), Buttons::Ok);

    QCOMPARE(setrlimit(RLIMIT_NOFILE, &exhausted), 0);
    const Continuation first = rig.check(1);
    QCOMPARE(setrlimit(RLIMIT_NOFILE, &normal), 0);

    QCOMPARE(first, Continuation::Continue);
    KORVO_VERIFY_SCRIPT(rig.windows);
    QVERIFY(rig.windows.windowsOpened.isEmpty());
    QVERIFY(rig.server->server().conversations().isEmpty());

    // The next check tries again and reaches the server.
    rig.windows.expectMessage(UpdateText::title, UpdateText::upToDate, Buttons::Ok);
    QCOMPARE(rig.check(1), Continuation::Continue);
    KORVO_VERIFY_SCRIPT(rig.windows);
    QVERIFY(rig.connectionEnded());
    QCOMPARE(rig.wire(), UpdateText::greeting);
}

QTEST_GUILESS_MAIN(UpdateNetworkErrorTest)
#include "tst_update_network_error.moc"
