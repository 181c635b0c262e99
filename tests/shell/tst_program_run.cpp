// A start with a settings file already there: the automatic update check, the
// main window, the application choice, the event loop and the shutdown.

#include "shell/main_window.h"
#include "shell_flow.h"

#include <QFileInfo>
#include <QTest>

using Platform::Answer;
using Platform::Buttons;
using Platform::ClickKind;
using Platform::Event;
using Platform::EventKind;

namespace {

StoredSettings storedSettings(const TestSession &ts, const QString &checkForUpdates = QStringLiteral("No"))
{
    return {QStringLiteral("alice"), QStringLiteral("s3cret"), ts.scratch() + QStringLiteral("/projects"),
            checkForUpdates, QStringLiteral("updates.example.test")};
}

// Windows line ends, so that a rewritten file differs from the one found.
bool writeStoredSettings(const TestSession &ts, const StoredSettings &values)
{
    return writeFile(iniPath(ts), settingsFileBytes(values, "\r\n"));
}

// Remembers every window layout and what each window held when it closed.
class InspectingWindows : public ScriptedWindowSystem
{
public:
    bool openWindow(const Platform::WindowLayout &layout) override
    {
        const bool opened = ScriptedWindowSystem::openWindow(layout);
        if (opened)
            layouts.append(layout);
        return opened;
    }

    void closeWindow(int window) override
    {
        closed.append(window);
        QMap<int, Gadget> held;
        for (auto it = gadgets.cbegin(); it != gadgets.cend(); ++it) {
            if (it->window == window)
                held.insert(it.key(), it.value());
        }
        gadgetsAtClose.insert(window, held);
        ScriptedWindowSystem::closeWindow(window);
    }

    QList<Platform::WindowLayout> layouts;
    QList<int> closed;
    QMap<int, QMap<int, Gadget>> gadgetsAtClose;
};

} // namespace

class ProgramRunTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void normalStartAndClose()
    {
        TestSession ts;
        const StoredSettings stored = storedSettings(ts);
        QVERIFY(writeStoredSettings(ts, stored));
        ts.session->checklistShown = true;

        ActionRecorder recorder(ts.windows);
        ts.windows.queueClick(lightwaveButton);
        ts.windows.queueClose(0);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QVERIFY(ts.windows.shown.isEmpty());
        QVERIFY(recorder.calls.isEmpty());
        QCOMPARE(ts.windows.windowsOpened, (QList<int>{0, 1}));
        QVERIFY(ts.windows.openWindows.isEmpty());
        QVERIFY(!ts.session->checklistShown);
        QVERIFY(QFileInfo(ts.base() + QStringLiteral("/archive")).isDir());

        QVERIFY(ts.session->application);
        QCOMPARE(ts.session->applicationName(), QStringLiteral("Lightwave"));
        QCOMPARE(ts.session->application->sceneExtension, u".lws");
        QCOMPARE(ts.session->application->scenePattern, u"*.lws");
        QVERIFY(ts.session->application->inScenesSubdirectory);
        QCOMPARE(ts.session->application->archiveExtension, u".vul");
        QCOMPARE(ts.session->application->checklistFile, u"/Checklist_Lightwave.txt");

        // Rewritten although nothing changed: same values, line feeds only.
        QCOMPARE(readFile(iniPath(ts)), settingsFileBytes(stored));
    }

    void mainWindowAndChooserAsBuilt()
    {
        TestSession ts;
        QVERIFY(writeStoredSettings(ts, storedSettings(ts)));
        ActionRecorder recorder(ts.windows);
        ts.windows.queueClose(1);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);

        QCOMPARE(ts.windows.gadgetsCreated, (QList<int>{0, 20, 3, 5, 7, 4, 8, 11, 10, 9, 12, 22}));

        const Platform::WindowLayout main = ts.windows.openWindows.value(0);
        QVERIFY(main.title.contains(QStringLiteral("KORVObinder")));
        QVERIFY(main.title.contains(QStringLiteral("1.6")));
        QVERIFY(main.title.contains(u'\u00A9'));
        QCOMPARE(main.contentSize, QSize(440, 640));
        QVERIFY(main.closeButton);
        QCOMPARE(main.placement, Platform::Placement::CentredOnScreen);

        using Kind = ScriptedWindowSystem::GadgetKind;
        const auto gadget = [&](int number) { return ts.windows.gadgets.value(number); };
        QCOMPARE(gadget(0).kind, Kind::Image);
        QVERIFY(gadget(0).image > 0);
        // The 405 x 89 logo plus a 2-point border on each side, top-left corner kept.
        QCOMPARE(gadget(0).geometry, QRect(10, 2, 409, 93));
        QCOMPARE(gadget(20).kind, Kind::TextBox);
        QCOMPARE(gadget(20).geometry, QRect(3, 97, 436, 472));
        QCOMPARE(gadget(20).background, 0xFFFFFFu);
        QCOMPARE(gadget(20).textColour, 0x000000u);
        QCOMPARE(gadget(3).kind, Kind::ProgressBar);
        QCOMPARE(gadget(3).geometry, QRect(4, 610, 439, 28));
        QCOMPARE(gadget(3).minimum, 0);
        QCOMPARE(gadget(3).maximum, 60);
        QCOMPARE(gadget(3).progress, 0);

        for (const auto &[number, geometry, caption] : expectedMainButtons()) {
            QCOMPARE(gadget(number).kind, Kind::Button);
            QCOMPARE(gadget(number).window, 0);
            QCOMPARE(gadget(number).geometry, geometry);
            QCOMPARE(gadget(number).caption, caption);
            QVERIFY(!gadget(number).toggle);
            QVERIFY(gadget(number).enabled);
        }

        // The chooser closed, its button gone with it; the main window stays.
        QVERIFY(ts.windows.openWindows.contains(0));
        QVERIFY(!ts.windows.openWindows.contains(1));
        QVERIFY(!ts.windows.gadgets.contains(22));
    }

    void chooserAsBuilt()
    {
        TestSession ts;
        QVERIFY(writeStoredSettings(ts, storedSettings(ts)));
        InspectingWindows windows;
        Session session(ts.session->context, windows, ts.opener);
        ActionRecorder recorder(windows);
        windows.queueClick(lightwaveButton);
        windows.queueClose(0);

        QCOMPARE(runProgram(session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(windows);

        QCOMPARE(windows.layouts.size(), 2);
        const Platform::WindowLayout chooser = windows.layouts.at(1);
        QCOMPARE(chooser.number, 1);
        QCOMPARE(chooser.title, QStringLiteral("Choose your application"));
        QCOMPARE(chooser.contentSize, QSize(367, 60));
        QVERIFY(chooser.closeButton);
        QCOMPARE(chooser.placement, Platform::Placement::CentredOverActiveWindow);
        QCOMPARE(chooser.fallbackPosition, QPoint(222, 258));

        QCOMPARE(windows.closed, (QList<int>{1, 0}));
        const QList<int> chooserGadgets = windows.gadgetsAtClose.value(1).keys();
        QCOMPARE(chooserGadgets, QList<int>{22});
        const ScriptedWindowSystem::Gadget button = windows.gadgetsAtClose.value(1).value(22);
        QCOMPARE(button.kind, ScriptedWindowSystem::GadgetKind::Button);
        QCOMPARE(button.geometry, QRect(95, 10, 170, 40));
        QCOMPARE(button.caption, QStringLiteral("LIGHTWAVE"));
        QVERIFY(button.toggle);
    }

    // A close request instead of a choice ends the program at once: no
    // settings written, and the main window is not closed first.
    void closeDuringTheChoice_data()
    {
        QTest::addColumn<int>("window");
        QTest::newRow("chooser closed") << 1;
        QTest::newRow("main window closed") << 0;
    }

    void closeDuringTheChoice()
    {
        QFETCH(int, window);

        TestSession ts;
        QVERIFY(writeStoredSettings(ts, storedSettings(ts)));
        const QByteArray before = readFile(iniPath(ts));
        InspectingWindows windows;
        Session session(ts.session->context, windows, ts.opener);
        ActionRecorder recorder(windows);
        windows.queueClick(Gadget::About);
        windows.queueClose(window);
        windows.queueClick(Gadget::Upload);

        QCOMPARE(runProgram(session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(windows);
        QVERIFY(recorder.calls.isEmpty());
        QVERIFY(!session.application);
        QCOMPARE(windows.closed, QList<int>{1});
        QCOMPARE(readFile(iniPath(ts)), before);
    }

    // The chooser cannot open: nothing is chosen and the loop runs without an application.
    void chooserCannotOpen()
    {
        TestSession ts;
        QVERIFY(writeStoredSettings(ts, storedSettings(ts)));
        ActionRecorder recorder(ts.windows);
        ts.windows.failingWindows = {1};
        ts.windows.queueClick(Gadget::About);
        ts.windows.queueClose(0);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QCOMPARE(recorder.calls, QStringList{QStringLiteral("about")});
        QVERIFY(!ts.session->application);
        QCOMPARE(ts.session->applicationName(), QString());
        QCOMPARE(readFile(iniPath(ts)), settingsFileBytes(storedSettings(ts)));
    }

    // The main window cannot open: the program ends silently without saving.
    void mainWindowCannotOpen()
    {
        TestSession ts;
        QVERIFY(writeStoredSettings(ts, storedSettings(ts)));
        const QByteArray before = readFile(iniPath(ts));
        ActionRecorder recorder(ts.windows);
        ts.windows.failingWindows = {0};

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QVERIFY(ts.windows.windowsOpened.isEmpty());
        QVERIFY(ts.windows.gadgetsCreated.isEmpty());
        QCOMPARE(readFile(iniPath(ts)), before);
    }

    // The file cannot be created at shutdown: the error box, then exit status 0.
    void saveFailsAtShutdown()
    {
        TestSession ts;
        QVERIFY(writeStoredSettings(ts, storedSettings(ts)));
        ActionRecorder recorder(ts.windows);
        recorder.duringAbout = [&](Session &) { QVERIFY(blockSettingsFile(ts)); };
        ts.windows.queueClick(lightwaveButton);
        ts.windows.queueClick(Gadget::About);
        ts.windows.queueClose(0);
        Expect::noFileBox(ts.windows);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QCOMPARE(recorder.calls, QStringList{QStringLiteral("about")});
        // The box comes after the main window has closed.
        QVERIFY(ts.windows.openWindows.isEmpty());
        QVERIFY(QFileInfo(iniPath(ts)).isDir());
    }

    // Only the exact text "Yes" runs the automatic check, before any window,
    // and the value read is written back unchanged.
    void automaticUpdateCheck_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("checked");

        QTest::newRow("Yes") << QStringLiteral("Yes") << true;
        QTest::newRow("No") << QStringLiteral("No") << false;
        QTest::newRow("yes in lower case") << QStringLiteral("yes") << false;
        QTest::newRow("YES in upper case") << QStringLiteral("YES") << false;
        QTest::newRow("Yes with a trailing blank") << QStringLiteral("Yes ") << false;
    }

    void automaticUpdateCheck()
    {
        QFETCH(QString, stored);
        QFETCH(bool, checked);

        TestSession ts;
        const StoredSettings values = storedSettings(ts, stored);
        QVERIFY(writeStoredSettings(ts, values));
        ActionRecorder recorder(ts.windows);
        ts.windows.queueClick(lightwaveButton);
        ts.windows.queueClose(0);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QVERIFY(ts.windows.shown.isEmpty());
        if (checked) {
            QCOMPARE(recorder.calls, QStringList{QStringLiteral("checkForUpdates(0)")});
            QCOMPARE(recorder.windowsOpenAtUpdateCheck, QList<int>{0});
        } else {
            QVERIFY(recorder.calls.isEmpty());
        }
        QCOMPARE(settingsLine(ts, 8), stored);
        QCOMPARE(readFile(iniPath(ts)), settingsFileBytes(values));
    }

    // A completed download ends the program at once, without saving, whether
    // the check ran at start-up or from the "Updates" button.
    void downloadEndsTheProgram_data()
    {
        QTest::addColumn<bool>("atStartUp");
        QTest::newRow("automatic check at start-up") << true;
        QTest::newRow("Updates button") << false;
    }

    void downloadEndsTheProgram()
    {
        QFETCH(bool, atStartUp);

        TestSession ts;
        QVERIFY(writeStoredSettings(ts, storedSettings(ts, atStartUp ? QStringLiteral("Yes") : QStringLiteral("No"))));
        const QByteArray before = readFile(iniPath(ts));
        ActionRecorder recorder(ts.windows);
        recorder.updateOutcome = Continuation::EndProgram;
        ts.windows.queueClick(lightwaveButton);
        ts.windows.queueClick(Gadget::Updates);
        ts.windows.queueClick(Gadget::About);
        ts.windows.queueClose(0);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QVERIFY(ts.windows.shown.isEmpty());
        if (atStartUp) {
            QCOMPARE(recorder.calls, QStringList{QStringLiteral("checkForUpdates(0)")});
            QVERIFY(ts.windows.windowsOpened.isEmpty());
        } else {
            QCOMPARE(recorder.calls, QStringList{QStringLiteral("checkForUpdates(1)")});
            QCOMPARE(ts.windows.windowsOpened, (QList<int>{0, 1}));
        }
        QCOMPARE(readFile(iniPath(ts)), before);
    }

    // A settings file lacking its update choice is completed at start-up.
    void missingUpdateChoiceIsAsked()
    {
        TestSession ts;
        StoredSettings values = storedSettings(ts, QString());
        QVERIFY(writeStoredSettings(ts, values));
        ActionRecorder recorder(ts.windows);
        Expect::updateQuestion(ts.windows, Answer::Yes);
        ts.windows.queueClick(lightwaveButton);
        ts.windows.queueClose(0);

        QCOMPARE(runProgram(*ts.session, recorder.actions()), 0);
        KORVO_VERIFY_SCRIPT(ts.windows);
        QCOMPARE(recorder.calls, QStringList{QStringLiteral("checkForUpdates(0)")});
        values.checkForUpdates = QStringLiteral("Yes");
        QCOMPARE(readFile(iniPath(ts)), settingsFileBytes(values));
    }
};

QTEST_GUILESS_MAIN(ProgramRunTest)
#include "tst_program_run.moc"
