// Archive building on real projects with the real 7za: names, formats, what the
// archive holds, the log lines and the window's state around the run.

#include "archive_run.h"
#include "prepare/archive_builder.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace ArchiveTest;

namespace {

const QMap<QString, QByteArray> nestedProject{
    {QStringLiteral("scenes/shot_1_take2.lws"), "LWSC\n5\n"},
    {QStringLiteral("objects/box.lwo"), "FORM"},
    {QStringLiteral("images/wood.tga"), QByteArray(2048, '\x7f')},
    {QStringLiteral("images/metal/deeper/rust.png"), "png"},
    {QStringLiteral(".hidden"), "hidden at the top"},
    {QStringLiteral("images/.cache/.thumb"), "hidden twice"},
    {QStringLiteral("notes with blanks.txt"), QByteArray()},
};

QSet<QString> projectFiles(const QMap<QString, QByteArray> &files)
{
    QSet<QString> paths;
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        paths.insert(it.key());
    return paths;
}

QSet<QString> withLog(QSet<QString> files)
{
    files.insert(QStringLiteral("KORVObinder.log"));
    return files;
}

} // namespace

class ArchiveBuilderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void baseName_data();
    void baseName();
    void archivePerProfile_data();
    void archivePerProfile();
    void successfulRun_data();
    void successfulRun();
    void staleSpeedArchive_data();
    void staleSpeedArchive();
    void otherArchivesUntouched();
    void eventsDuringTheWaitAreThrownAway();
    void blankLikeCharacterStaysInOneArgument();
};

void ArchiveBuilderTest::baseName_data()
{
    QTest::addColumn<QString>("scene");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << "shot_1_take2.lws"
                           << ".lws"
                           << "shot_1_take2";
    QTest::newRow("cut to 20") << "my_long_shot_final_take.lws"
                               << ".lws"
                               << "my_long_shot_final_t";
    QTest::newRow("exactly 20") << "abcdefghijklmnopqrst.lws"
                                << ".lws"
                                << "abcdefghijklmnopqrst";
    QTest::newRow("extension in upper case") << "Shot.LWS"
                                             << ".lws"
                                             << "Shot";
    QTest::newRow("extension inside the name") << "a.lwsb.lws"
                                               << ".lws"
                                               << "ab";
    QTest::newRow("blanks and dots") << "my shot.v2.lws"
                                     << ".lws"
                                     << "my_shot_v2";
    QTest::newRow("other extension kept") << "shot.mb.lws"
                                          << ".mb"
                                          << "shot_lws";
    QTest::newRow("tab kept") << "shot\tone.lws"
                              << ".lws"
                              << "shot\tone";
    QTest::newRow("maya") << "render.mb"
                          << ".mb"
                          << "render";
    QTest::newRow("utf-16 units") << QStringLiteral("\U0001F3AC") + QString(19, u'x') + QStringLiteral(".c4d") << ".c4d"
                                  << QStringLiteral("\U0001F3AC") + QString(18, u'x');
}

void ArchiveBuilderTest::baseName()
{
    QFETCH(QString, scene);
    QFETCH(QString, extension);
    QFETCH(QString, expected);
    QCOMPARE(ArchiveBuilder::archiveBaseName(scene, extension), expected);
}

void ArchiveBuilderTest::archivePerProfile_data()
{
    QTest::addColumn<QString>("application");
    QTest::addColumn<QString>("scenePath");
    QTest::addColumn<QString>("archiveName");

    QTest::newRow("Maya") << "Maya"
                          << "scenes/render.mb"
                          << "render.vua";
    QTest::newRow("Lightwave") << "Lightwave"
                               << "scenes/shot_1_take2.lws"
                               << "shot_1_take2.vul";
    QTest::newRow("Lightwave, long name") << "Lightwave"
                                          << "scenes/my_long_shot_final_take.lws"
                                          << "my_long_shot_final_t.vul";
    QTest::newRow("Cinema4D") << "Cinema4D"
                              << "shot.c4d"
                              << "shot.vuc";
    QTest::newRow("Terragen") << "Terragen"
                              << "world.tgd"
                              << "world.vut";
}

void ArchiveBuilderTest::archivePerProfile()
{
    QFETCH(QString, application);
    QFETCH(QString, scenePath);
    QFETCH(QString, archiveName);

    Fixture run(application);
    QVERIFY(run.ts.installSevenZip());
    QVERIFY(run.addFiles({{scenePath, "scene"}, {QStringLiteral("textures/t.png"), "png"}}));
    run.expectQuestion(Answer::Yes);

    ArchiveBuilder::buildArchive(*run.ts.session, run.project, QFileInfo(scenePath).fileName(), run.profile());

    KORVO_VERIFY_SCRIPT(run.ts.windows);
    QCOMPARE(QDir(run.archiveFolder()).entryList(QDir::Files), QStringList{archiveName});
    const Listing listing = list(run.archive(archiveName));
    QCOMPARE(listing.type, QStringLiteral("7z"));
    QCOMPARE(listing.files, withLog({scenePath, QStringLiteral("textures/t.png")}));
}

void ArchiveBuilderTest::successfulRun_data()
{
    QTest::addColumn<bool>("maximumCompression");
    QTest::addColumn<QString>("format");

    QTest::newRow("maximum compression") << true << "7z";
    QTest::newRow("maximum speed") << false << "zip";
}

void ArchiveBuilderTest::successfulRun()
{
    QFETCH(bool, maximumCompression);
    QFETCH(QString, format);
    const Answer answer = maximumCompression ? Answer::Yes : Answer::No;

    Fixture run;
    QVERIFY(run.ts.installSevenZip());
    QVERIFY(run.addFiles(nestedProject));
    QVERIFY(makeDirectory(run.project + QStringLiteral("empty folder")));
    QVERIFY(makeDirectory(run.base() + QStringLiteral("/temp")));
    QVERIFY(writeFile(run.base() + QStringLiteral("/temp/old.tmp")));

    QMap<int, bool> enabledDuringRun;
    bool tempDuringRun = false;
    run.expectQuestion(answer, [&] {
        for (int gadget : busyGadgets + keptGadgets)
            enabledDuringRun.insert(gadget, run.ts.windows.isEnabled(gadget));
        tempDuringRun =
            QFileInfo(run.base() + QStringLiteral("/temp")).isDir() &&
            QDir(run.base() + QStringLiteral("/temp")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    });

    ArchiveBuilder::buildArchive(*run.ts.session, run.project, QStringLiteral("shot_1_take2.lws"), run.profile());

    KORVO_VERIFY_SCRIPT(run.ts.windows);
    for (int gadget : busyGadgets)
        QVERIFY2(!enabledDuringRun.value(gadget), qPrintable(QString::number(gadget)));
    for (int gadget : keptGadgets)
        QVERIFY2(enabledDuringRun.value(gadget), qPrintable(QString::number(gadget)));
    for (int gadget : busyGadgets + keptGadgets)
        QVERIFY2(run.ts.windows.isEnabled(gadget), qPrintable(QString::number(gadget)));
    QVERIFY(tempDuringRun);

    const QString archive = run.archive(QStringLiteral("shot_1_take2.vul"));
    const Listing listing = list(archive);
    QCOMPARE(listing.type, format);
    QCOMPARE(listing.files, withLog(projectFiles(nestedProject)));
    QVERIFY(listing.folders.contains(QStringLiteral("empty folder")));

    QCOMPARE(normalised(run.boxLines()), successBox(run.base(), QStringLiteral("shot_1_take2.vul")));
    const QByteArray log = extract(archive, QStringLiteral("KORVObinder.log"));
    QVERIFY(!log.startsWith("\xEF\xBB\xBF"));
    QVERIFY(!log.contains('\r'));
    QVERIFY(log.endsWith("Your project is now ready to render!\n"));
    QCOMPARE(normalised(fileLines(log)), successFile(run.base(), QStringLiteral("shot_1_take2.vul")));

    QCOMPARE(run.ts.opener.opened, QStringList{run.base() + QStringLiteral("/archive")});
    QCOMPARE(run.ts.windows.progress(Gadget::ProgressBar), MainWindow::ProgressMaximum);
    QVERIFY(!QFileInfo::exists(run.base() + QStringLiteral("/KORVObinder.log")));
    QVERIFY(!QFileInfo::exists(run.base() + QStringLiteral("/temp")));
    QVERIFY(!QFileInfo::exists(archive + QStringLiteral(".zip")));
    QCOMPARE(QDir(run.archiveFolder()).entryList(QDir::Files), QStringList{QStringLiteral("shot_1_take2.vul")});
}

void ArchiveBuilderTest::staleSpeedArchive_data()
{
    QTest::addColumn<bool>("maximumCompression");
    QTest::addColumn<QString>("format");

    QTest::newRow("maximum compression") << true << "7z";
    QTest::newRow("maximum speed") << false << "zip";
}

void ArchiveBuilderTest::staleSpeedArchive()
{
    QFETCH(bool, maximumCompression);
    QFETCH(QString, format);
    const Answer answer = maximumCompression ? Answer::Yes : Answer::No;

    Fixture run;
    QVERIFY(run.ts.installSevenZip());
    QVERIFY(run.addFiles({{QStringLiteral("scenes/shot.lws"), "scene"}}));

    // An earlier run's zip that still holds a texture the project has dropped since.
    const QString earlier = run.ts.scratch() + QStringLiteral("/earlier/");
    QVERIFY(writeFile(earlier + QStringLiteral("scenes/shot.lws"), "old scene"));
    QVERIFY(writeFile(earlier + QStringLiteral("dropped.tga"), "dropped"));
    const QString leftover = run.archive(QStringLiteral("shot.vul.zip"));
    QProcess sevenZip;
    sevenZip.setProcessChannelMode(QProcess::MergedChannels);
    sevenZip.setWorkingDirectory(earlier);
    sevenZip.start(sevenZipProgram(), {QStringLiteral("a"), leftover, QStringLiteral("-r")});
    QVERIFY(sevenZip.waitForFinished(-1));
    QCOMPARE(sevenZip.exitCode(), 0);
    QVERIFY(list(leftover).files.contains(QStringLiteral("dropped.tga")));

    run.expectQuestion(answer);
    ArchiveBuilder::buildArchive(*run.ts.session, run.project, QStringLiteral("shot.lws"), run.profile());

    KORVO_VERIFY_SCRIPT(run.ts.windows);
    const QString archive = run.archive(QStringLiteral("shot.vul"));
    const Listing listing = list(archive);
    QCOMPARE(listing.type, format);
    QCOMPARE(listing.files, withLog({QStringLiteral("scenes/shot.lws")}));
    QCOMPARE(extract(archive, QStringLiteral("scenes/shot.lws")), QByteArray("scene"));
    QVERIFY(!QFileInfo::exists(leftover));
}

void ArchiveBuilderTest::otherArchivesUntouched()
{
    Fixture run;
    QVERIFY(run.ts.installSevenZip());
    QVERIFY(run.addFiles({{QStringLiteral("scenes/shot.lws"), "scene"}}));
    const QMap<QString, QByteArray> others{
        {QStringLiteral("other.vul"), "another scene's archive"},
        {QStringLiteral("other.vul.zip"), "another scene's speed archive"},
        {QStringLiteral("shot.vua"), "the Maya archive of a scene of the same name"},
        {QStringLiteral("shot.vul.7z"), "not this run's name"},
    };
    for (auto it = others.cbegin(); it != others.cend(); ++it)
        QVERIFY(writeFile(run.archive(it.key()), it.value()));
    // This run's own name: an old archive that is not even an archive.
    QVERIFY(writeFile(run.archive(QStringLiteral("shot.vul")), "an old archive of this scene"));

    run.expectQuestion(Answer::Yes);
    ArchiveBuilder::buildArchive(*run.ts.session, run.project, QStringLiteral("shot.lws"), run.profile());

    KORVO_VERIFY_SCRIPT(run.ts.windows);
    for (auto it = others.cbegin(); it != others.cend(); ++it)
        QCOMPARE(readFile(run.archive(it.key())), it.value());
    QCOMPARE(list(run.archive(QStringLiteral("shot.vul"))).files, withLog({QStringLiteral("scenes/shot.lws")}));
}

void ArchiveBuilderTest::eventsDuringTheWaitAreThrownAway()
{
    Fixture run;
    QVERIFY(run.ts.installSevenZip());
    // Enough work for 7za that the program waits for it more than once.
    QVERIFY(run.addFiles({{QStringLiteral("scenes/shot.lws"), "scene"},
                          {QStringLiteral("images/noise.tga"), incompressible(3 << 20, 7)}}));

    Platform::Event click;
    click.kind = Platform::EventKind::Gadget;
    click.window = Window::Main;
    click.gadget = Gadget::PrepareProject;
    Platform::Event updates = click;
    updates.gadget = Gadget::Updates;
    Platform::Event close;
    close.kind = Platform::EventKind::CloseRequest;
    close.window = Window::Main;
    run.expectQuestion(Answer::Yes, [&] {
        run.ts.windows.queuePendingEvent(click);
        run.ts.windows.queuePendingEvent(updates);
        run.ts.windows.queuePendingEvent(close);
    });

    ArchiveBuilder::buildArchive(*run.ts.session, run.project, QStringLiteral("shot.lws"), run.profile());

    KORVO_VERIFY_SCRIPT(run.ts.windows);
    QVERIFY(run.ts.windows.processPendingCalls > 0);
    QCOMPARE(run.ts.windows.pendingEventsThrownAway, 3);
    QCOMPARE(normalised(run.boxLines()), successBox(run.base(), QStringLiteral("shot.vul"))
                                             .replaceInStrings(QStringLiteral("0.00 MB"), QStringLiteral("3.00 MB")));
}

void ArchiveBuilderTest::blankLikeCharacterStaysInOneArgument()
{
    Fixture run;
    QVERIFY(run.ts.installSevenZip());
    const QString scene = QStringLiteral("shot\tone.lws");
    QVERIFY(run.addFiles({{QStringLiteral("scenes/") + scene, "scene"}}));
    run.expectQuestion(Answer::No);

    ArchiveBuilder::buildArchive(*run.ts.session, run.project, scene, run.profile());

    KORVO_VERIFY_SCRIPT(run.ts.windows);
    QCOMPARE(QDir(run.archiveFolder()).entryList(QDir::Files), QStringList{QStringLiteral("shot\tone.vul")});
    const Listing listing = list(run.archive(QStringLiteral("shot\tone.vul")));
    QCOMPARE(listing.type, QStringLiteral("zip"));
    QCOMPARE(listing.files, withLog({QStringLiteral("scenes/") + scene}));
}

QTEST_GUILESS_MAIN(ArchiveBuilderTest)
#include "tst_archive_builder.moc"
