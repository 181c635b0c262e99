#include "platform/files.h"
#include "update_rig.h"

#include <QTcpSocket>

using Platform::Answer;
using Platform::Buttons;
using ReferenceUpdateServer::Mode;

class UpdateCheckTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reply_data();
    void reply();
    void connectingWindow();
    void unreachableServer_data();
    void unreachableServer();
    void serverClosesWithoutReply();
    void silentServerIsBounded();
    void connectIsBounded();
    void markerChoosesHost_data();
    void markerChoosesHost();
};

void UpdateCheckTest::reply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("showUpToDate");
    // The reply text the newer-version question shows; empty when there is no question.
    QTest::addColumn<QString>("questionReply");
    QTest::addColumn<bool>("upToDateBox");

    const QString none;
    QTest::newRow("1.7 is newer") << QByteArray("1.7") << 1 << QStringLiteral("1.7") << false;
    QTest::newRow("1.7 is newer, automatic") << QByteArray("1.7") << 0 << QStringLiteral("1.7") << false;
    QTest::newRow("1.6 is up to date") << QByteArray("1.6") << 1 << none << true;
    QTest::newRow("1.6 automatic is silent") << QByteArray("1.6") << 0 << none << false;
    QTest::newRow("1.10 sorts before 1.6") << QByteArray("1.10") << 1 << none << true;
    QTest::newRow("1.6.1 is newer") << QByteArray("1.6.1") << 1 << QStringLiteral("1.6.1") << false;
    QTest::newRow("2 is newer") << QByteArray("2") << 1 << QStringLiteral("2") << false;
    QTest::newRow("1.5 is older") << QByteArray("1.5") << 1 << none << true;
    QTest::newRow("1.6 and a line feed is newer") << QByteArray("1.6\n") << 1 << QStringLiteral("1.6\n") << false;
    QTest::newRow("1.6 and a space is newer") << QByteArray("1.6 ") << 1 << QStringLiteral("1.6 ") << false;
    QTest::newRow("Mac-1.7 compares 1.7") << QByteArray("Mac-1.7") << 1 << QStringLiteral("Mac-1.7") << false;
    QTest::newRow("Mac-1.6 compares 1.6") << QByteArray("Mac-1.6") << 1 << none << true;
    QTest::newRow("a-b-a-c compares b-c") << QByteArray("a-b-a-c") << 1 << QStringLiteral("a-b-a-c") << false;
    // The text after the first "-" would be 1.5-1.7, older; removing every
    // repetition of the head "1.5-" leaves 1.7.
    QTest::newRow("repeated head removed") << QByteArray("1.5-1.5-1.7") << 1 << QStringLiteral("1.5-1.5-1.7") << false;
    QTest::newRow("one zero byte is up to date") << QByteArray(1, '\0') << 1 << none << true;
    QTest::newRow("one zero byte automatic is silent") << QByteArray(1, '\0') << 0 << none << false;
    QTest::newRow("zero byte ends the reply") << QByteArray("1.7\0junk", 8) << 1 << QStringLiteral("1.7") << false;
    QTest::newRow("zero-terminated 1.6") << QByteArray("1.6\0", 4) << 1 << none << true;
    // U+FF17 is negative as a signed 16-bit unit, so it sorts before "6".
    QTest::newRow("units compare signed") << QStringLiteral("1.\uFF17").toUtf8() << 1 << none << true;
    QTest::newRow("units below 0x8000 compare as they are")
        << QStringLiteral("1.\u00E9").toUtf8() << 1 << QStringLiteral("1.\u00E9") << false;

    const QByteArray thousand = QByteArray("1.7") + QByteArray(997, 'x');
    QTest::newRow("1000 bytes without a zero end at the received bytes")
        << thousand << 1 << QString::fromLatin1(thousand) << false;
    QTest::newRow("only the first 1000 bytes are read")
        << thousand + QByteArray(500, 'y') << 1 << QString::fromLatin1(thousand) << false;
}

void UpdateCheckTest::reply()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, showUpToDate);
    QFETCH(QString, questionReply);
    QFETCH(bool, upToDateBox);

    UpdateRig rig(reply);
    QVERIFY(rig.listening);
    if (!questionReply.isEmpty())
        rig.windows.expectMessage(UpdateText::title, UpdateText::question(questionReply), Buttons::YesNo, Answer::No);
    if (upToDateBox)
        rig.windows.expectMessage(UpdateText::title, UpdateText::upToDate, Buttons::Ok);

    QCOMPARE(rig.check(showUpToDate), Continuation::Continue);
    KORVO_VERIFY_SCRIPT(rig.windows);
    QCOMPARE(rig.windows.windowsOpened, QList<int>{3});
    QVERIFY(rig.windows.openWindows.isEmpty());

    // Exactly the greeting: no terminating zero, no line end, no request after No.
    QVERIFY(rig.connectionEnded());
    QCOMPARE(rig.wire(), UpdateText::greeting);
    QCOMPARE(rig.wire().size(), 23);
    QVERIFY(rig.opener.opened.isEmpty());
    QCOMPARE(Platform::Files::fileSize(rig.archive()), Platform::Files::Missing);
}

void UpdateCheckTest::connectingWindow()
{
    UpdateRig rig("1.6");
    QVERIFY(rig.listening);
    rig.check(0);
    KORVO_VERIFY_SCRIPT(rig.windows);

    QCOMPARE(rig.windows.layouts.size(), 1);
    const Platform::WindowLayout &layout = rig.windows.layouts.first();
    QCOMPARE(layout.number, 3);
    QCOMPARE(layout.title, QStringLiteral("Connecting to KORVOUpdateServer..."));
    QCOMPARE(layout.contentSize, QSize(340, 50));
    QVERIFY(!layout.closeButton);
    QCOMPARE(layout.placement, Platform::Placement::CentredOnScreen);
    // It is given the chance to paint before the thread blocks on the network.
    QCOMPARE(rig.windows.processPendingCalls, rig.windows.pendingCallsAtOpen.first() + 1);
    QVERIFY(rig.windows.gadgetsCreated.isEmpty());
}

void UpdateCheckTest::unreachableServer_data()
{
    QTest::addColumn<int>("showUpToDate");
    QTest::newRow("automatic") << 0;
    QTest::newRow("button") << 1;
}

void UpdateCheckTest::unreachableServer()
{
    QFETCH(int, showUpToDate);
    UpdateRig rig("1.7");
    rig.context.updatePort = closedPort();
    rig.windows.expectMessage(UpdateText::title, UpdateText::notAvailable, Buttons::Ok, Answer::Ok,
                              [&] { QVERIFY(rig.windows.openWindows.isEmpty()); });

    QCOMPARE(rig.check(showUpToDate), Continuation::Continue);
    KORVO_VERIFY_SCRIPT(rig.windows);
    QCOMPARE(rig.windows.windowsOpened, QList<int>{3});
}

void UpdateCheckTest::serverClosesWithoutReply()
{
    UpdateRig rig("1.7", Mode::CloseWithoutReply);
    QVERIFY(rig.listening);
    rig.windows.expectMessage(UpdateText::title, UpdateText::transferError, Buttons::Ok);

    QCOMPARE(rig.check(0), Continuation::Continue);
    KORVO_VERIFY_SCRIPT(rig.windows);
    QCOMPARE(rig.windows.windowsOpened, (QList<int>{3, 4}));
    QVERIFY(rig.windows.openWindows.isEmpty());
    QVERIFY(rig.connectionEnded());
    QCOMPARE(rig.wire(), UpdateText::greeting);
    QCOMPARE(Platform::Files::fileSize(rig.archive()), Platform::Files::Missing);
    QCOMPARE(Platform::Files::fileSize(rig.partial()), Platform::Files::Missing);
}

void UpdateCheckTest::silentServerIsBounded()
{
    UpdateRig rig("1.7", Mode::NoReply);
    QVERIFY(rig.listening);
    rig.context.updateLimits.replyMilliseconds = 50;
    rig.windows.expectMessage(UpdateText::title, UpdateText::notAvailable, Buttons::Ok, Answer::Ok,
                              [&] { QVERIFY(rig.windows.openWindows.isEmpty()); });

    QCOMPARE(rig.check(0), Continuation::Continue);
    KORVO_VERIFY_SCRIPT(rig.windows);
    QCOMPARE(rig.windows.windowsOpened, QList<int>{3});
    QVERIFY(rig.connectionEnded());
    QCOMPARE(rig.wire(), UpdateText::greeting);
}

void UpdateCheckTest::connectIsBounded()
{
    // A listener whose queue of waiting connections is full and that never
    // accepts: the system drops further connection attempts, so the connect
    // would wait for the system's own time-out, minutes later.
    QTcpServer listener;
    listener.setListenBacklogSize(0);
    QVERIFY(listener.listen(QHostAddress::LocalHost, 0));
    QTcpSocket filler;
    filler.connectToHost(QHostAddress::LocalHost, listener.serverPort());
    QVERIFY(filler.waitForConnected(5000));

    UpdateRig rig("1.7");
    rig.context.updatePort = listener.serverPort();
    rig.context.updateLimits.connectMilliseconds = 100;
    rig.context.updateLimits.replyMilliseconds = 100;
    rig.windows.expectMessage(UpdateText::title, UpdateText::notAvailable, Buttons::Ok);

    QCOMPARE(rig.check(1), Continuation::Continue);
    KORVO_VERIFY_SCRIPT(rig.windows);
    QCOMPARE(rig.windows.windowsOpened, QList<int>{3});
    QVERIFY(rig.windows.openWindows.isEmpty());
}

void UpdateCheckTest::markerChoosesHost_data()
{
    QTest::addColumn<QString>("marker");
    QTest::addColumn<bool>("local");
    QTest::newRow("no marker: public host") << QString() << false;
    QTest::newRow("empty file: local host") << QStringLiteral("empty file") << true;
    QTest::newRow("file with text: local host") << QStringLiteral("file") << true;
    QTest::newRow("folder: local host") << QStringLiteral("folder") << true;
    QTest::newRow("other name: public host") << QStringLiteral("other name") << false;
}

void UpdateCheckTest::markerChoosesHost()
{
    QFETCH(QString, marker);
    QFETCH(bool, local);

    UpdateRig rig("1.6");
    QVERIFY(rig.listening);
    const QString markerPath = rig.base() + QStringLiteral("/KorvoLocalbox.txt");
    if (marker == QLatin1String("empty file"))
        QVERIFY(writeFile(markerPath, QByteArray()));
    else if (marker == QLatin1String("file"))
        QVERIFY(writeFile(markerPath, "yes"));
    else if (marker == QLatin1String("folder"))
        QVERIFY(makeDirectory(markerPath));
    else if (marker == QLatin1String("other name"))
        QVERIFY(writeFile(rig.base() + QStringLiteral("/korvolocalbox.txt"), "yes"));

    // The server is reached only under the expected role's name (the local
    // one through the resolver); the other role points where nothing listens,
    // and the settings' update server plays no part.
    const QString nowhere = QStringLiteral("127.0.0.2");
    rig.context.localUpdateHost = local ? QStringLiteral("localhost") : nowhere;
    rig.context.publicUpdateHost = local ? nowhere : QStringLiteral("127.0.0.1");
    rig.context.updateLimits.connectMilliseconds = 2000;
    rig.session().settings.updateServer = nowhere;
    rig.windows.expectMessage(UpdateText::title, UpdateText::upToDate, Buttons::Ok);

    QCOMPARE(rig.check(1), Continuation::Continue);
    KORVO_VERIFY_SCRIPT(rig.windows);
    QVERIFY(rig.connectionEnded());
    QCOMPARE(rig.server->server().conversations().size(), 1);
}

QTEST_GUILESS_MAIN(UpdateCheckTest)
#include "tst_update_check.moc"
