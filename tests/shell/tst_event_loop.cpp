// The event loop hands each gadget of the main window to its handler; the
// chooser's loop before it reads and drops the main window's events.

#include "shell/main_window.h"
#include "shell_flow.h"

#include <QTest>

using Platform::ClickKind;
using Platform::Event;
using Platform::EventKind;

namespace {

bool prepareWithStoredSettings(const TestSession &ts)
{
    return writeFile(iniPath(ts), settingsFileBytes({QStringLiteral("alice"), QStringLiteral("pw"), ts.scratch(),
                                                     QStringLiteral("No"), QStringLiteral("updates.example.test")}));
}

} // namespace

class EventLoopTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dispatch_data()
    {
        QTest::addColumn<int>("gadget");
        QTest::addColumn<ClickKind>("click");
        QTest::addColumn<QStringList>("calls");

        const auto calls = [](const char *name) { return QStringList{QString::fromLatin1(name)}; };
        QTest::newRow("5 Prepare project") << 5 << ClickKind::None << calls("prepareProject");
        QTest::newRow("4 Upload") << 4 << ClickKind::None << calls("upload");
        QTest::newRow("0 logo, plain click") << 0 << ClickKind::Plain << calls("logo");
        QTest::newRow("0 logo, with Control") << 0 << ClickKind::Control << QStringList();
        QTest::newRow("0 logo, second click of a double click") << 0 << ClickKind::DoubleClickSecond << QStringList();
        QTest::newRow("0 logo, right click") << 0 << ClickKind::Right << QStringList();
        QTest::newRow("0 logo, no click kind") << 0 << ClickKind::None << QStringList();
        QTest::newRow("8 Price info") << 8 << ClickKind::None << calls("priceInfo");
        QTest::newRow("7 Estimate") << 7 << ClickKind::None << calls("estimate");
        QTest::newRow("9 About") << 9 << ClickKind::None << calls("about");
        QTest::newRow("10 Read Help") << 10 << ClickKind::None << calls("readHelp");
        QTest::newRow("12 Updates") << 12 << ClickKind::None << calls("checkForUpdates(1)");
        QTest::newRow("20 log box") << 20 << ClickKind::None << QStringList();
        QTest::newRow("3 progress bar") << 3 << ClickKind::None << QStringList();
        QTest::newRow("6 never a gadget") << 6 << ClickKind::None << QStringList();
        QTest::newRow("22 chooser button, chooser gone") << 22 << ClickKind::None << QStringList();
    }

    void dispatch()
    {
        QFETCH(int, gadget);
        QFETCH(ClickKind, click);
        QFETCH(QStringList, calls);

        TestSession ts;
        QVERIFY(prepareWithStoredSettings(ts));
        ActionRecorder recorder(ts.windows);
        ts.windows.queueClick(lightwaveButton);
        ts.windows.queueClick(gadget, click);
        // The loop goes on after each handler until the close request.
        ts.windows.queueClick(gadget, click);
        ts.windows.queueClose(0);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QCOMPARE(recorder.calls, calls + calls);
    }

    // A double click on the logo arrives as a plain click and a second click: it acts once.
    void logoDoubleClickActsOnce()
    {
        TestSession ts;
        QVERIFY(prepareWithStoredSettings(ts));
        ActionRecorder recorder(ts.windows);
        ts.windows.queueClick(lightwaveButton);
        ts.windows.queueClick(Gadget::Logo, ClickKind::Plain);
        ts.windows.queueClick(Gadget::Logo, ClickKind::DoubleClickSecond);
        ts.windows.queueClose(0);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QCOMPARE(recorder.calls, QStringList{QStringLiteral("logo")});
    }

    // Quit from the application menu and other events change nothing; only a close request ends the loop.
    void otherEventsAreIgnored()
    {
        TestSession ts;
        QVERIFY(prepareWithStoredSettings(ts));
        ActionRecorder recorder(ts.windows);
        ts.windows.queueClick(lightwaveButton);
        Event menu;
        menu.kind = EventKind::Menu;
        ts.windows.queueEvent(menu);
        Event other;
        other.kind = EventKind::Other;
        other.window = 0;
        ts.windows.queueEvent(other);
        ts.windows.queueClick(Gadget::About);
        ts.windows.queueClose(0);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QCOMPARE(recorder.calls, QStringList{QStringLiteral("about")});
        QVERIFY(ts.windows.openWindows.isEmpty());
    }

    // The chooser's loop reads the main window's events and drops them: they
    // are not carried out, neither then nor later.
    void mainWindowEventsDroppedDuringTheChoice()
    {
        TestSession ts;
        QVERIFY(prepareWithStoredSettings(ts));
        ActionRecorder recorder(ts.windows);
        for (int gadget : {5, 4, 8, 7, 9, 10, 11, 12})
            ts.windows.queueClick(gadget);
        ts.windows.queueClick(Gadget::Logo, ClickKind::Plain);
        Event menu;
        menu.kind = EventKind::Menu;
        ts.windows.queueEvent(menu);
        ts.windows.queueClick(lightwaveButton);
        ts.windows.queueClick(Gadget::Estimate);
        ts.windows.queueClose(0);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        // No Config boxes either: the script holds none.
        KORVO_VERIFY_SCRIPT(ts.windows);
        QCOMPARE(ts.session->applicationName(), QStringLiteral("Lightwave"));
        QCOMPARE(recorder.calls, QStringList{QStringLiteral("estimate")});
    }

    // The handlers find ChecklistShown false on the first press after start.
    void checklistNotShownAtStart()
    {
        TestSession ts;
        QVERIFY(prepareWithStoredSettings(ts));
        ts.session->checklistShown = true;
        QList<bool> seen;
        ActionRecorder recorder(ts.windows);
        Actions actions = recorder.actions();
        actions.prepareProject = [&](Session &session) {
            seen.append(session.checklistShown);
            session.checklistShown = true;
        };
        ts.windows.queueClick(lightwaveButton);
        ts.windows.queueClick(Gadget::PrepareProject);
        ts.windows.queueClick(Gadget::PrepareProject);
        ts.windows.queueClose(0);

        QCOMPARE(runProgram(*ts.session, actions), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QCOMPARE(seen, (QList<bool>{false, true}));
    }

    // The busy switch with the one value used, 5, and with another kept button.
    void busySwitch_data()
    {
        QTest::addColumn<int>("keptButton");
        QTest::addColumn<QList<int>>("switched");
        QTest::newRow("Prepare project kept") << 5 << QList<int>{4, 7, 8, 9, 10, 11};
        QTest::newRow("Upload kept") << 4 << QList<int>{5, 7, 8, 9, 10, 11};
    }

    void busySwitch()
    {
        QFETCH(int, keptButton);
        QFETCH(QList<int>, switched);

        TestSession ts;
        QVERIFY(MainWindow::open(*ts.session, 0, QSize()));
        const QList<int> all = ts.windows.gadgets.keys();

        MainWindow::setBusy(ts.windows, keptButton);
        for (int gadget : all)
            QCOMPARE(ts.windows.isEnabled(gadget), !switched.contains(gadget));

        MainWindow::clearBusy(ts.windows, keptButton);
        for (int gadget : all)
            QVERIFY(ts.windows.isEnabled(gadget));
    }

    // Without a decoded logo the gadget keeps its tabled size and stays empty.
    void undecodableLogo()
    {
        TestSession ts;
        QVERIFY(MainWindow::open(*ts.session, 0, QSize()));
        QCOMPARE(ts.windows.gadgets.value(Gadget::Logo).geometry, QRect(10, 2, 403, 89));
        QCOMPARE(ts.windows.gadgets.value(Gadget::Logo).image, 0);
    }
};

QTEST_GUILESS_MAIN(EventLoopTest)
#include "tst_event_loop.moc"
