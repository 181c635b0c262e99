// The example project under examples/ goes through the whole "Prepare project"
// press, as a newcomer would try it, and comes out as an archive 7za lists.

#include "archive_run.h"
#include "preparation_script.h"
#include "prepare/project_check.h"

#include <QDirIterator>
#include <QTest>

using namespace ArchiveTest;

class ExampleProjectTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void preparedIntoAnArchive();
};

void ExampleProjectTest::preparedIntoAnArchive()
{
    const QString example = QFINDTESTDATA("../../examples/lightwave_project");
    QVERIFY(!example.isEmpty());

    Fixture run;
    QVERIFY(run.ts.installSevenZip());
    run.ts.session->checklistShown = true;
    const QString project = run.ts.scratch() + QStringLiteral("/lightwave_project/");
    QSet<QString> files;
    QDirIterator entries(example, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString source = entries.next();
        const QString relative = QDir(example).relativeFilePath(source);
        QVERIFY(writeFile(project + relative, readFile(source)));
        files.insert(relative);
    }
    QVERIFY(files.contains(QStringLiteral("scenes/crate_turntable.lws")));

    Script::expectPress(run.ts, project);
    Script::expectBoxes(run.ts,
                        {Script::versionQuestion(Answer::Yes), Script::bitnessQuestion(Answer::Yes),
                         Script::question(QStringLiteral("Compression level"),
                                          QStringLiteral("Maximum compression? (if No, maximum speed)"), Answer::Yes)},
                        project);
    ProjectCheck::prepareProject(*run.ts.session);

    KORVO_VERIFY_SCRIPT(run.ts.windows);
    files.insert(QStringLiteral("KORVObinder.log"));
    const Listing listing = list(run.archive(QStringLiteral("crate_turntable.vul")));
    QCOMPARE(listing.type, QStringLiteral("7z"));
    QCOMPARE(listing.files, files);
    QCOMPARE(normalised(run.boxLines()), successBox(run.base(), QStringLiteral("crate_turntable.vul")));
    QCOMPARE(run.ts.opener.opened, QStringList{run.base() + QStringLiteral("/archive")});
}

QTEST_GUILESS_MAIN(ExampleProjectTest)
#include "tst_example_project.moc"
