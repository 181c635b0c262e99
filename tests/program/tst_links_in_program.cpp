#include "shell/program.h"
#include "standard_actions.h"
#include "test_session.h"

#include <QTest>

using Platform::Buttons;
using Platform::ClickKind;

namespace {

constexpr int lightwaveButton = 22;
constexpr int logo = 0;
constexpr int uploadButton = 4;
constexpr int aboutButton = 9;
constexpr int readHelpButton = 10;

// A stored account and no automatic update check, so the program goes straight
// to the main window and the chooser.
bool storeSettings(TestSession &ts)
{
    Settings &settings = ts.session->settings;
    settings.login = QStringLiteral("jdoe");
    settings.password = QStringLiteral("a b&c");
    settings.lastDirectory = ts.scratch();
    settings.checkForUpdates = QStringLiteral("No");
    settings.updateServer = QStringLiteral("localhost");
    return SettingsFile::save(*ts.session);
}

} // namespace

// The web and help actions behind the real event loop: the whole road from a
// click on the main window to what reaches the opener.
class TestLinksInProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void logoClickKinds_data();
    void logoClickKinds();
    void buttons();
};

void TestLinksInProgram::logoClickKinds_data()
{
    QTest::addColumn<QList<ClickKind>>("clicks");
    QTest::addColumn<int>("pagesOpened");
    QTest::newRow("single click") << QList<ClickKind>{ClickKind::Plain} << 1;
    QTest::newRow("double click") << QList<ClickKind>{ClickKind::Plain, ClickKind::DoubleClickSecond} << 1;
    QTest::newRow("Control-click") << QList<ClickKind>{ClickKind::Control} << 0;
    QTest::newRow("right click") << QList<ClickKind>{ClickKind::Right} << 0;
    QTest::newRow("two single clicks") << QList<ClickKind>{ClickKind::Plain, ClickKind::Plain} << 2;
}

void TestLinksInProgram::logoClickKinds()
{
    QFETCH(QList<ClickKind>, clicks);
    QFETCH(int, pagesOpened);

    TestSession ts;
    QVERIFY(storeSettings(ts));
    ts.windows.queueClick(lightwaveButton);
    for (const ClickKind click : clicks)
        ts.windows.queueClick(logo, click);
    ts.windows.queueClose(0);

    QCOMPARE(runProgram(*ts.session, standardActions()), 0);

    KORVO_VERIFY_SCRIPT(ts.windows);
    const QStringList expected(pagesOpened, QStringLiteral("https://www.example.test/en/rendering/lightwave"));
    QCOMPARE(ts.opener.opened, expected);
}

void TestLinksInProgram::buttons()
{
    TestSession ts;
    QVERIFY(storeSettings(ts));
    ts.windows.queueClick(lightwaveButton);
    ts.windows.queueClick(uploadButton);
    ts.windows.queueClick(aboutButton);
    ts.windows.queueClick(readHelpButton);
    ts.windows.queueClose(0);
    ts.windows.expectMessage(QStringLiteral("About KORVObinder"),
                             QStringLiteral("                    KORVObinder 1.6\n"
                                            "\u00A9 2026 KORVO Render Farm. All rights reserved.\n"
                                            "               www.example.test"),
                             Buttons::Ok);
    ts.windows.expectMessage(QStringLiteral("KORVObinder error"),
                             QStringLiteral("The KORVObinder_Mac.pdf file cannot be found!"), Buttons::Ok);

    QCOMPARE(runProgram(*ts.session, standardActions()), 0);

    KORVO_VERIFY_SCRIPT(ts.windows);
    QCOMPARE(ts.opener.opened,
             QStringList{QStringLiteral("https://www.example.test/en/estimate-the-rendering-time/lightwave")});
}

QTEST_GUILESS_MAIN(TestLinksInProgram)
#include "tst_links_in_program.moc"
