#include "platform/files.h"
#include "update_rig.h"

using Platform::Answer;
using Platform::Buttons;
using ReferenceUpdateServer::Mode;

Q_DECLARE_METATYPE(ReferenceUpdateServer::Mode)

namespace {

// Distinct bytes at every position, so that a block out of order shows.
QByteArray pattern(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xff);
    return bytes;
}

const QByteArray olderArchive = QByteArrayLiteral("the archive of an earlier download");

} // namespace

class UpdateDownloadTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void download_data();
    void download();
    void downloadingWindow();
    void serverClosesAfterReply();
};

void UpdateDownloadTest::download_data()
{
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<qint64>("announced");
    QTest::addColumn<bool>("olderArchivePresent");
    QTest::addColumn<bool>("partialBlocked");
    QTest::addColumn<bool>("succeeds");

    const QByteArray five = QByteArrayLiteral("12345");
    const QByteArray many = pattern(300 * 1024 + 17);
    const qint64 own = -1;
    QTest::newRow("L=5 in one 13-byte block") << Mode::Normal << five << own << false << false << true;
    QTest::newRow("many blocks") << Mode::Normal << many << own << false << false << true;
    QTest::newRow("older archive replaced") << Mode::Normal << many << own << true << false << true;
    QTest::newRow("length in 3-byte pieces") << Mode::Slow << pattern(100) << own << false << false << true;
    QTest::newRow("surplus in the first block") << Mode::Surplus << five << own << false << false << false;
    QTest::newRow("surplus after many blocks") << Mode::Surplus << many << own << true << false << false;
    QTest::newRow("L=0") << Mode::ZeroLength << five << own << false << false << false;
    QTest::newRow("L=0, older archive kept") << Mode::ZeroLength << five << own << true << false << false;
    QTest::newRow("closed halfway") << Mode::Short << many << own << false << false << false;
    QTest::newRow("closed halfway, older archive kept") << Mode::Short << many << own << true << false << false;
    QTest::newRow("stalled transfer") << Mode::Stall << many << own << true << false << false;
    QTest::newRow("longer than the free space") << Mode::Normal << five << (qint64(1) << 62) << true << false << false;
    QTest::newRow("partial file cannot be created") << Mode::Normal << many << own << true << true << false;
}

void UpdateDownloadTest::download()
{
    QFETCH(Mode, mode);
    QFETCH(QByteArray, file);
    QFETCH(qint64, announced);
    QFETCH(bool, olderArchivePresent);
    QFETCH(bool, partialBlocked);
    QFETCH(bool, succeeds);

    UpdateRig rig("1.7", mode, file, announced);
    QVERIFY(rig.listening);
    // Small enough for the stalled row to end soon; a transfer that is merely
    // waited for would fail the longer-than-free-space row only after it.
    rig.context.updateLimits.transferStallMilliseconds = mode == Mode::Stall ? 100 : 60000;
    if (olderArchivePresent)
        QVERIFY(writeFile(rig.archive(), olderArchive));
    if (partialBlocked)
        QVERIFY(makeDirectory(rig.partial()));

    rig.windows.expectMessage(UpdateText::title, UpdateText::question(QStringLiteral("1.7")), Buttons::YesNo,
                              Answer::Yes);
    if (succeeds)
        rig.windows.expectMessage(UpdateText::title, UpdateText::downloaded(rig.base()), Buttons::Ok, Answer::Ok,
                                  [&] { QCOMPARE(readFile(rig.archive()), file); });
    else
        rig.windows.expectMessage(UpdateText::title, UpdateText::transferError, Buttons::Ok);

    QCOMPARE(rig.check(0), succeeds ? Continuation::EndProgram : Continuation::Continue);
    KORVO_VERIFY_SCRIPT(rig.windows);
    QCOMPARE(rig.windows.windowsOpened, (QList<int>{3, 4}));
    QVERIFY(rig.windows.openWindows.isEmpty());

    if (succeeds)
        QCOMPARE(readFile(rig.archive()), file);
    else if (olderArchivePresent)
        QCOMPARE(readFile(rig.archive()), olderArchive);
    else
        QCOMPARE(Platform::Files::fileSize(rig.archive()), Platform::Files::Missing);
    if (!partialBlocked)
        QCOMPARE(Platform::Files::fileSize(rig.partial()), Platform::Files::Missing);
    QCOMPARE(rig.opener.opened, succeeds ? QStringList{rig.base()} : QStringList());

    // The greeting and the request, each exactly, and nothing else.
    QVERIFY(rig.connectionEnded());
    QCOMPARE(rig.wire(), UpdateText::greeting + UpdateText::request);
    QCOMPARE(rig.wire().size(), 23 + 26);
}

void UpdateDownloadTest::downloadingWindow()
{
    UpdateRig rig("1.7", Mode::Normal, "12345");
    QVERIFY(rig.listening);
    rig.windows.expectMessage(UpdateText::title, UpdateText::question(QStringLiteral("1.7")), Buttons::YesNo,
                              Answer::Yes);
    rig.windows.expectMessage(UpdateText::title, UpdateText::downloaded(rig.base()), Buttons::Ok);
    QCOMPARE(rig.check(1), Continuation::EndProgram);
    KORVO_VERIFY_SCRIPT(rig.windows);

    QCOMPARE(rig.windows.layouts.size(), 2);
    const Platform::WindowLayout &layout = rig.windows.layouts.at(1);
    QCOMPARE(layout.number, 4);
    QCOMPARE(layout.title, QStringLiteral("Downloading update..."));
    QCOMPARE(layout.contentSize, QSize(340, 50));
    QVERIFY(!layout.closeButton);
    QCOMPARE(layout.placement, Platform::Placement::CentredOnScreen);
    QCOMPARE(rig.windows.processPendingCalls, rig.windows.pendingCallsAtOpen.at(1) + 1);
    QVERIFY(rig.windows.gadgetsCreated.isEmpty());
}

void UpdateDownloadTest::serverClosesAfterReply()
{
    UpdateRig rig("1.7", Mode::ReplyThenClose);
    QVERIFY(rig.listening);
    QVERIFY(writeFile(rig.archive(), olderArchive));
    rig.windows.expectMessage(UpdateText::title, UpdateText::question(QStringLiteral("1.7")), Buttons::YesNo,
                              Answer::Yes);
    rig.windows.expectMessage(UpdateText::title, UpdateText::transferError, Buttons::Ok);

    QCOMPARE(rig.check(1), Continuation::Continue);
    KORVO_VERIFY_SCRIPT(rig.windows);
    QCOMPARE(readFile(rig.archive()), olderArchive);
    QVERIFY(rig.opener.opened.isEmpty());
}

QTEST_GUILESS_MAIN(UpdateDownloadTest)
#include "tst_update_download.moc"
