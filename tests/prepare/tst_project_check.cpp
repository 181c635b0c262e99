#include "preparation_script.h"
#include "prepare/project_check.h"

#include <QTest>

using namespace Script;

namespace {

enum FirstPressEnd
{
    DisclaimerNo,
    ChooserCancelled,
    CheckFailed,
};

const QString lightwave = QStringLiteral("Lightwave");

ExpectedBox verificationNeeded()
{
    return ok(QStringLiteral("Warning: verification needed!"),
              QStringLiteral("Then please do it before sending your project :)"));
}

ExpectedBox disclaimer(const QString &application, Answer answer)
{
    return question(QStringLiteral("Disclaimer"),
                    QStringLiteral("I have prepared this project following the KORVO for ") + application +
                        QStringLiteral(" PDF user guide instructions"),
                    answer);
}

QString noScenesSubdirectory()
{
    return QStringLiteral("There is no 'scenes' subdirectory in your project directory!");
}

} // namespace

class TestProjectCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checklistOpensOncePerRun_data();
    void checklistOpensOncePerRun();
    void noApplicationOpensNoChecklist();
    void projectDirectoryAndLastDirectory_data();
    void projectDirectoryAndLastDirectory();
    void layoutAndSceneCount_data();
    void layoutAndSceneCount();
};

// However the first press ends, the checklist of the run's application opens on
// it and never again.
void TestProjectCheck::checklistOpensOncePerRun_data()
{
    QTest::addColumn<QString>("application");
    QTest::addColumn<QString>("noSceneText");
    QTest::addColumn<int>("firstPressEnd");

    const QList<std::pair<QString, QString>> applications{
        {QStringLiteral("Maya"), QStringLiteral("There is no .mb scene in the 'scenes' subdirectory!")},
        {QStringLiteral("Lightwave"), QStringLiteral("There is no .lws scene in the 'scenes' subdirectory!")},
        {QStringLiteral("Cinema4D"), QStringLiteral("There is no .c4d scene in the project directory!")},
        {QStringLiteral("Terragen"), QStringLiteral("There is no .tgd scene in the project directory!")},
    };
    for (const auto &[application, noScene] : applications) {
        const QByteArray name = application.toUtf8();
        QTest::addRow("%s, disclaimer answered No", name.constData()) << application << noScene << int(DisclaimerNo);
        QTest::addRow("%s, chooser cancelled", name.constData()) << application << noScene << int(ChooserCancelled);
        QTest::addRow("%s, no scene found", name.constData()) << application << noScene << int(CheckFailed);
    }
}

void TestProjectCheck::checklistOpensOncePerRun()
{
    QFETCH(QString, application);
    QFETCH(QString, noSceneText);
    QFETCH(int, firstPressEnd);

    TestSession ts;
    ts.choose(application);
    const QString project = newProject(ts, {QStringLiteral("scenes/"), QStringLiteral("workspace.mel")});
    QVERIFY(!project.isEmpty());
    QVERIFY(!ts.session->checklistShown);

    QStringList opened{ts.base() + QStringLiteral("/Checklist_") + application + QStringLiteral(".txt")};
    switch (firstPressEnd) {
    case DisclaimerNo:
        expectBoxes(ts, {disclaimer(application, Answer::No), verificationNeeded()}, project);
        break;
    case ChooserCancelled:
        expectPress(ts, QString());
        break;
    default:
        expectPress(ts, project);
        expectBoxes(ts, {invalidProject(application, noSceneText)}, project);
        opened.append(application == QStringLiteral("Maya") || application == lightwave
                          ? project + QStringLiteral("scenes")
                          : project);
        break;
    }
    ProjectCheck::prepareProject(*ts.session);
    QVERIFY(ts.session->checklistShown);
    QCOMPARE(ts.opener.opened, opened);

    expectBoxes(ts, {disclaimer(application, Answer::No), verificationNeeded()}, project);
    ProjectCheck::prepareProject(*ts.session);
    KORVO_VERIFY_SCRIPT(ts.windows);
    QCOMPARE(ts.opener.opened, opened);
    QVERIFY(ts.session->checklistShown);
}

// Before a choice there is no application: no checklist opens, the flag is set
// all the same, and the boxes name no application.
void TestProjectCheck::noApplicationOpensNoChecklist()
{
    TestSession ts;
    expectBoxes(ts, {disclaimer(QString(), Answer::No), verificationNeeded()}, QString());
    ProjectCheck::prepareProject(*ts.session);
    KORVO_VERIFY_SCRIPT(ts.windows);
    QVERIFY(ts.opener.opened.isEmpty());
    QVERIFY(ts.session->checklistShown);

    // No application rule applies either: no scene can be found.
    const QString project = newProject(ts, {QStringLiteral("scenes/shot.lws"), QStringLiteral("main.c4d")});
    expectPress(ts, project);
    expectBoxes(ts, {invalidProject(QString(), QStringLiteral("There is no  scene in the project directory!"))},
                project);
    ProjectCheck::prepareProject(*ts.session);
    KORVO_VERIFY_SCRIPT(ts.windows);
    QCOMPARE(ts.opener.opened, QStringList{project});
    QCOMPARE(ts.session->settings.lastDirectory, project);
}

// The chooser starts at lastDirectory; a choice becomes the next start at once,
// a cancel leaves it alone, and the project directory always ends in "/".
void TestProjectCheck::projectDirectoryAndLastDirectory_data()
{
    QTest::addColumn<QString>("lastDirectory");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("trailingSlash");

    QTest::newRow("cancelled, earlier directory kept") << QStringLiteral("/Volumes/Work/old project/") << true << true;
    QTest::newRow("cancelled, empty start kept") << QString() << true << true;
    QTest::newRow("chosen with '/', kept although the check fails")
        << QStringLiteral("/Volumes/Work/old project/") << false << true;
    QTest::newRow("chosen without '/', one appended") << QStringLiteral("/Volumes/Work/old project/") << false << false;
}

void TestProjectCheck::projectDirectoryAndLastDirectory()
{
    QFETCH(QString, lastDirectory);
    QFETCH(bool, cancel);
    QFETCH(bool, trailingSlash);

    TestSession ts;
    ts.choose(lightwave);
    ts.session->checklistShown = true;
    ts.session->settings.lastDirectory = lastDirectory;
    const QString project = newProject(ts, {QStringLiteral("shot.lws")});
    const QString answer = cancel ? QString() : trailingSlash ? project : project.chopped(1);

    expectPress(ts, answer);
    if (!cancel)
        expectBoxes(ts, {invalidProject(lightwave, noScenesSubdirectory())}, project);
    ProjectCheck::prepareProject(*ts.session);

    KORVO_VERIFY_SCRIPT(ts.windows);
    QCOMPARE(ts.session->settings.lastDirectory, cancel ? lastDirectory : project);
    QCOMPARE(ts.opener.opened, cancel ? QStringList() : QStringList{project});
}

// Each application's layout and scene count on real directories. "project" and
// "scenes" name the folder shown after the error; passing rows go on to the
// archive stage (and, for LightWave, its questions first).
void TestProjectCheck::layoutAndSceneCount_data()
{
    QTest::addColumn<QString>("application");
    QTest::addColumn<QStringList>("layout");
    QTest::addColumn<QString>("errorText");
    QTest::addColumn<QString>("shownFolder");

    const QString pass;
    const QString project = QStringLiteral("project");
    const QString scenes = QStringLiteral("scenes");
    const QString noScenes = noScenesSubdirectory();
    const QString noWorkspace = QStringLiteral("The 'workspace.mel' file is missing in your project directory!");
    auto noSceneIn = [](const QString &ext, bool inScenes) -> QString {
        return QStringLiteral("There is no ") + ext +
               (inScenes ? QStringLiteral(" scene in the 'scenes' subdirectory!")
                         : QStringLiteral(" scene in the project directory!"));
    };
    auto severalIn = [](const QString &ext, bool inScenes) -> QString {
        return QStringLiteral("There are several ") + ext +
               (inScenes ? QStringLiteral(" scenes in the 'scenes' subdirectory!")
                         : QStringLiteral(" scenes in the 'project directory!"));
    };
    const QString lw = QStringLiteral("Lightwave");
    const QString maya = QStringLiteral("Maya");
    const QString c4d = QStringLiteral("Cinema4D");
    const QString tg = QStringLiteral("Terragen");

    QTest::newRow("Lightwave: no scenes subdirectory")
        << lw << QStringList{QStringLiteral("shot.lws")} << noScenes << project;
    QTest::newRow("Lightwave: scenes is a plain file")
        << lw << QStringList{QStringLiteral("scenes")} << noScenes << project;
    QTest::newRow("Lightwave: scenes is a link to a directory")
        << lw << QStringList{QStringLiteral("real/shot.lws"), QStringLiteral("scenes -> real")} << pass << QString();
    QTest::newRow("Lightwave: scenes is a dangling link")
        << lw << QStringList{QStringLiteral("scenes -> nowhere")} << noScenes << project;
    QTest::newRow("Lightwave: one scene") << lw << QStringList{QStringLiteral("scenes/shot.lws")} << pass << QString();
    QTest::newRow("Lightwave: empty scenes")
        << lw << QStringList{QStringLiteral("scenes/")} << noSceneIn(QStringLiteral(".lws"), true) << scenes;
    QTest::newRow("Lightwave: scene at the top level only")
        << lw << QStringList{QStringLiteral("scenes/"), QStringLiteral("shot.lws")}
        << noSceneIn(QStringLiteral(".lws"), true) << scenes;
    QTest::newRow("Lightwave: scene in a subdirectory of scenes")
        << lw << QStringList{QStringLiteral("scenes/old/shot.lws")} << noSceneIn(QStringLiteral(".lws"), true)
        << scenes;
    QTest::newRow("Lightwave: directory named old.lws not counted")
        << lw << QStringList{QStringLiteral("scenes/old.lws/")} << noSceneIn(QStringLiteral(".lws"), true) << scenes;
    QTest::newRow("Lightwave: directory old.lws beside one scene")
        << lw << QStringList{QStringLiteral("scenes/old.lws/"), QStringLiteral("scenes/shot.lws")} << pass << QString();
    QTest::newRow("Lightwave: link old.lws to a directory counts")
        << lw
        << QStringList{QStringLiteral("elsewhere/"), QStringLiteral("scenes/shot.lws"),
                       QStringLiteral("scenes/old.lws -> ../elsewhere")}
        << severalIn(QStringLiteral(".lws"), true) << scenes;
    QTest::newRow("Lightwave: two scenes")
        << lw << QStringList{QStringLiteral("scenes/a.lws"), QStringLiteral("scenes/b.lws")}
        << severalIn(QStringLiteral(".lws"), true) << scenes;
    QTest::newRow("Lightwave: upper-case extension not a scene")
        << lw << QStringList{QStringLiteral("scenes/shot.LWS")} << noSceneIn(QStringLiteral(".lws"), true) << scenes;

    const QString workspace = QStringLiteral("workspace.mel");
    QTest::newRow("Maya: no scenes subdirectory")
        << maya << QStringList{workspace, QStringLiteral("shot.mb")} << noScenes << project;
    QTest::newRow("Maya: scenes is a plain file")
        << maya << QStringList{workspace, QStringLiteral("scenes")} << noScenes << project;
    QTest::newRow("Maya: scenes checked before the workspace")
        << maya << QStringList{QStringLiteral("shot.mb")} << noScenes << project;
    QTest::newRow("Maya: workspace.mel missing")
        << maya << QStringList{QStringLiteral("scenes/shot.mb")} << noWorkspace << project;
    QTest::newRow("Maya: workspace.mel a dangling link")
        << maya << QStringList{QStringLiteral("scenes/shot.mb"), QStringLiteral("workspace.mel -> nowhere")}
        << noWorkspace << project;
    QTest::newRow("Maya: empty workspace.mel passes")
        << maya << QStringList{workspace, QStringLiteral("scenes/shot.mb")} << pass << QString();
    QTest::newRow("Maya: directory workspace.mel passes")
        << maya << QStringList{QStringLiteral("workspace.mel/"), QStringLiteral("scenes/shot.mb")} << pass << QString();
    QTest::newRow("Maya: only shot.MB") << maya << QStringList{workspace, QStringLiteral("scenes/shot.MB")}
                                        << noSceneIn(QStringLiteral(".mb"), true) << scenes;
    QTest::newRow("Maya: two scenes") << maya
                                      << QStringList{workspace, QStringLiteral("scenes/a.mb"),
                                                     QStringLiteral("scenes/b.mb")}
                                      << severalIn(QStringLiteral(".mb"), true) << scenes;

    QTest::newRow("Cinema4D: xref_tree.c4d left out")
        << c4d << QStringList{QStringLiteral("xref_tree.c4d"), QStringLiteral("main.c4d")} << pass << QString();
    QTest::newRow("Cinema4D: XREF_tree.c4d counts")
        << c4d << QStringList{QStringLiteral("XREF_tree.c4d"), QStringLiteral("main.c4d")}
        << severalIn(QStringLiteral(".c4d"), false) << project;
    QTest::newRow("Cinema4D: xref-tree.c4d counts")
        << c4d << QStringList{QStringLiteral("xref-tree.c4d"), QStringLiteral("main.c4d")}
        << severalIn(QStringLiteral(".c4d"), false) << project;
    QTest::newRow("Cinema4D: only references")
        << c4d << QStringList{QStringLiteral("xref_tree.c4d")} << noSceneIn(QStringLiteral(".c4d"), false) << project;
    QTest::newRow("Cinema4D: scene in scenes not looked at")
        << c4d << QStringList{QStringLiteral("scenes/main.c4d")} << noSceneIn(QStringLiteral(".c4d"), false) << project;
    QTest::newRow("Cinema4D: two scenes") << c4d << QStringList{QStringLiteral("a.c4d"), QStringLiteral("b.c4d")}
                                          << severalIn(QStringLiteral(".c4d"), false) << project;

    QTest::newRow("Terragen: one scene") << tg << QStringList{QStringLiteral("main.tgd")} << pass << QString();
    QTest::newRow("Terragen: hidden scene beside main.tgd")
        << tg << QStringList{QStringLiteral(".backup.tgd"), QStringLiteral("main.tgd")}
        << severalIn(QStringLiteral(".tgd"), false) << project;
    QTest::newRow("Terragen: directory named like a scene")
        << tg << QStringList{QStringLiteral("old.tgd/")} << noSceneIn(QStringLiteral(".tgd"), false) << project;
    QTest::newRow("Terragen: empty project")
        << tg << QStringList{QStringLiteral("scenes/")} << noSceneIn(QStringLiteral(".tgd"), false) << project;
}

void TestProjectCheck::layoutAndSceneCount()
{
    QFETCH(QString, application);
    QFETCH(QStringList, layout);
    QFETCH(QString, errorText);
    QFETCH(QString, shownFolder);

    TestSession ts;
    const QString project = projectForLaterPress(ts, application, layout);
    QVERIFY(!project.isEmpty());

    expectPress(ts, project);
    if (!errorText.isEmpty()) {
        expectBoxes(ts, {invalidProject(application, errorText)}, project);
    } else {
        if (application == lightwave)
            expectBoxes(ts, {versionQuestion(Answer::Yes)}, project);
        expectBoxes(ts, archiveWithoutSevenZip(), project);
    }
    ProjectCheck::prepareProject(*ts.session);

    KORVO_VERIFY_SCRIPT(ts.windows);
    QCOMPARE(ts.session->settings.lastDirectory, project);
    if (errorText.isEmpty())
        return;
    // The folder goes to the file manager as one argument, blank and all.
    const QString folder = shownFolder == QStringLiteral("scenes") ? project + QStringLiteral("scenes") : project;
    QCOMPARE(ts.opener.opened, QStringList{folder});
    // A failed check changes nothing in the project.
    for (const QString &entry : std::as_const(layout))
        QVERIFY2(entryExists(project + entry.section(QStringLiteral(" -> "), 0, 0)), qPrintable(entry));
}

QTEST_GUILESS_MAIN(TestProjectCheck)
#include "tst_project_check.moc"
