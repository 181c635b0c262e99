// Archive building when it goes wrong: 7za missing or not startable, 7za that
// cannot read a project file or is killed, and the error log those runs leave.

#include "archive_run.h"
#include "prepare/archive_builder.h"
#include "recording_opener.h"
#include "scripted_window_system.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ArchiveTest;

namespace {

const QString scene = QStringLiteral("shot.lws");
const QString archiveName = QStringLiteral("shot.vul");
const QString exitCodeOne = QStringLiteral("7za ended with exit code 1:");
const QString stopped = QStringLiteral("7za was stopped before the end of the compression:");

// A project file whose path is longer than the system lets any program open, so
// that 7za warns about it, leaves it out and still writes an archive.
bool addUnreachableFile(const QString &project)
{
    const QByteArray folder(200, 'd');
    int directory = ::open(QFile::encodeName(project).constData(), O_RDONLY | O_DIRECTORY);
    for (int depth = 0; depth < 25 && directory >= 0; ++depth) {
        ::mkdirat(directory, folder.constData(), 0700);
        const int next = ::openat(directory, folder.constData(), O_RDONLY | O_DIRECTORY);
        ::close(directory);
        directory = next;
    }
    if (directory < 0)
        return false;
    const int file = ::openat(directory, "lost.tga", O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::close(directory);
    const bool written = file >= 0 && ::write(file, "texture", 7) == 7;
    if (file >= 0)
        ::close(file);
    return written;
}

// Too deep for the removal of the temporary directory, which works with whole paths.
void removeUnreachableFile(const QString &project)
{
    QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), project + QString(200, u'd')});
}

// The lines between the run's head and the failure report.
QStringList between(const QStringList &lines, qsizetype headSize)
{
    return lines.mid(headSize, lines.size() - headSize - failureLines.size());
}

bool anyContains(const QStringList &lines, const QString &text)
{
    return std::any_of(lines.cbegin(), lines.cend(), [&](const QString &line) { return line.contains(text); });
}

QStringList errorLog(const Fixture &run)
{
    return normalised(fileLines(readFile(run.base() + QStringLiteral("/ERROR_KORVObinder.log"))));
}

void verifyWindowIdle(const Fixture &run)
{
    for (int gadget : busyGadgets + keptGadgets)
        QVERIFY2(run.ts.windows.isEnabled(gadget), qPrintable(QString::number(gadget)));
}

// Kills the child 7za from outside, as the system or the user may.
bool killSevenZip(const QString &sevenZip)
{
    QDirIterator processes(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (processes.hasNext()) {
        const QString process = processes.next();
        bool isPid = false;
        const int pid = processes.fileName().toInt(&isPid);
        if (isPid && QFile::symLinkTarget(process + QStringLiteral("/exe")) == sevenZip)
            return ::kill(pid, SIGKILL) == 0;
    }
    return false;
}

// The scripted window system with a look into the wait for 7za and into the
// moment it has ended, before the program cleans up.
class ObservedWindowSystem : public ScriptedWindowSystem
{
public:
    void processPendingEvents() override
    {
        if (duringWait)
            duringWait();
        ScriptedWindowSystem::processPendingEvents();
    }

    void setProgress(int gadget, int value) override
    {
        if (afterWait)
            afterWait();
        ScriptedWindowSystem::setProgress(gadget, value);
    }

    std::function<void()> duringWait;
    std::function<void()> afterWait;
};

// A session over the fixture's base directory that uses the observed window system.
struct ObservedRun
{
    explicit ObservedRun(const Fixture &run)
        : session(testContext(run.base()), windows, opener)
    {
        session.application = &run.profile();
        MainWindow::open(session, 0, QSize());
    }

    void expectQuestion(Answer answer)
    {
        windows.expectMessage(QStringLiteral("Compression level"),
                              QStringLiteral("Maximum compression? (if No, maximum speed)"), Buttons::YesNo, answer);
    }

    ObservedWindowSystem windows;
    RecordingOpener opener;
    Session session;
};

} // namespace

class ArchiveFailuresTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sevenZipNotUsable_data();
    void sevenZipNotUsable();
    void sevenZipNotExecutable();
    void unreadableProjectFile_data();
    void unreadableProjectFile();
    void archiveFolderNotWritable();
    void sevenZipStoppedBySizeLimit();
    void sevenZipKilled();
    void errorLogReplacedThenKept();
};

void ArchiveFailuresTest::sevenZipNotUsable_data()
{
    QTest::addColumn<QString>("sevenZip");

    QTest::newRow("missing") << "missing";
    QTest::newRow("empty") << "empty";
    QTest::newRow("directory") << "directory";
}

void ArchiveFailuresTest::sevenZipNotUsable()
{
    QFETCH(QString, sevenZip);

    Fixture run;
    const QString program = run.base() + QStringLiteral("/7za");
    if (sevenZip == QLatin1String("empty"))
        QVERIFY(writeFile(program, QByteArray()));
    else if (sevenZip == QLatin1String("directory"))
        QVERIFY(makeDirectory(program));
    QVERIFY(run.addFiles({{QStringLiteral("scenes/") + scene, "scene"}}));
    QVERIFY(writeFile(run.archive(archiveName), "last run's archive"));

    run.ts.windows.expectMessage(errorTitle, sevenZipMissingText, Buttons::Ok);
    run.expectFailureBox();
    ArchiveBuilder::buildArchive(*run.ts.session, run.project, scene, run.profile());

    KORVO_VERIFY_SCRIPT(run.ts.windows);
    QCOMPARE(normalised(run.boxLines()), boxHead(false) + failureLines);
    QCOMPARE(errorLog(run), fileHead(false) + failureLines);
    QCOMPARE(run.ts.windows.progress(Gadget::ProgressBar), 0);
    QVERIFY(!QFileInfo::exists(run.archive(archiveName)));
    QVERIFY(!QFileInfo::exists(run.base() + QStringLiteral("/KORVObinder.log")));
    QVERIFY(QFileInfo(run.base() + QStringLiteral("/temp")).isDir());
    QVERIFY(run.ts.opener.opened.isEmpty());
    verifyWindowIdle(run);
}

void ArchiveFailuresTest::sevenZipNotExecutable()
{
    Fixture run;
    QVERIFY(run.ts.installSevenZip());
    QVERIFY(QFile::setPermissions(run.base() + QStringLiteral("/7za"),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                      QFileDevice::ReadOther));
    QVERIFY(run.addFiles({{QStringLiteral("scenes/") + scene, "scene"}}));

    run.expectQuestion(Answer::Yes);
    run.expectFailureBox();
    ArchiveBuilder::buildArchive(*run.ts.session, run.project, scene, run.profile());

    KORVO_VERIFY_SCRIPT(run.ts.windows);
    QCOMPARE(normalised(run.boxLines()), boxHead(true) + failureLines);
    QCOMPARE(errorLog(run), fileHead(true) + failureLines);
    QCOMPARE(run.ts.windows.progress(Gadget::ProgressBar), MainWindow::ProgressMaximum);
    QCOMPARE(run.ts.windows.processPendingCalls, 0);
    QVERIFY(QDir(run.archiveFolder()).isEmpty());
    verifyWindowIdle(run);
}

void ArchiveFailuresTest::unreadableProjectFile_data()
{
    QTest::addColumn<bool>("maximumCompression");

    QTest::newRow("maximum compression") << true;
    QTest::newRow("maximum speed") << false;
}

void ArchiveFailuresTest::unreadableProjectFile()
{
    QFETCH(bool, maximumCompression);

    Fixture run;
    QVERIFY(run.ts.installSevenZip());
    QVERIFY(run.addFiles({{QStringLiteral("scenes/") + scene, "scene"}}));
    const auto cleanup = qScopeGuard([&] { removeUnreachableFile(run.project); });
    QVERIFY(addUnreachableFile(run.project));

    ObservedRun observed(run);
    const QString written = run.archive(maximumCompression ? archiveName : archiveName + QStringLiteral(".zip"));
    qint64 writtenSize = 0;
    observed.windows.afterWait = [&] { writtenSize = QFileInfo(written).size(); };
    observed.expectQuestion(maximumCompression ? Answer::Yes : Answer::No);
    observed.windows.expectMessage(errorTitle, failureText, Buttons::Ok);
    ArchiveBuilder::buildArchive(observed.session, run.project, scene, run.profile());

    KORVO_VERIFY_SCRIPT(observed.windows);
    const QStringList box = normalised(observed.windows.lines(Gadget::LogBox));
    QCOMPARE(box.first(boxHead(true).size()), boxHead(true));
    QCOMPARE(box.last(failureLines.size()), failureLines);
    const QStringList said = between(box, boxHead(true).size());
    QVERIFY2(said.size() >= 3, qPrintable(said.join(u'\n')));
    QCOMPARE(said.first(), exitCodeOne);
    QVERIFY2(anyContains(said, QStringLiteral("File name too long")), qPrintable(said.join(u'\n')));
    QCOMPARE(said.last(), QString());

    const QStringList log = errorLog(run);
    QCOMPARE(log.first(fileHead(true).size()), fileHead(true));
    QCOMPARE(between(log, fileHead(true).size()), said);
    QCOMPARE(log.last(failureLines.size()), failureLines);

    // 7za wrote an archive without the file; it must not stay for the farm.
    QVERIFY(writtenSize > 0);
    QVERIFY(QDir(run.archiveFolder()).isEmpty());
    QVERIFY(observed.opener.opened.isEmpty());
    for (int gadget : busyGadgets + keptGadgets)
        QVERIFY(observed.windows.isEnabled(gadget));
}

void ArchiveFailuresTest::archiveFolderNotWritable()
{
    Fixture run;
    QVERIFY(run.ts.installSevenZip());
    QVERIFY(run.addFiles({{QStringLiteral("scenes/") + scene, "scene"}}));
    QVERIFY(QDir(run.archiveFolder()).removeRecursively());
    QVERIFY(writeFile(run.archiveFolder(), "a file where the archive folder should be"));

    run.expectQuestion(Answer::Yes);
    run.expectFailureBox();
    ArchiveBuilder::buildArchive(*run.ts.session, run.project, scene, run.profile());

    KORVO_VERIFY_SCRIPT(run.ts.windows);
    const QStringList said = between(normalised(run.boxLines()), boxHead(true).size());
    QVERIFY2(said.size() >= 3, qPrintable(said.join(u'\n')));
    QCOMPARE(said.first(), QStringLiteral("7za ended with exit code 2:"));
    QCOMPARE(between(errorLog(run), fileHead(true).size()), said);
}

void ArchiveFailuresTest::sevenZipStoppedBySizeLimit()
{
    Fixture run;
    QVERIFY(run.ts.installSevenZip());
    QVERIFY(run.addFiles({{QStringLiteral("scenes/") + scene, "scene"},
                          {QStringLiteral("images/noise.tga"), incompressible(512 << 10, 3)}}));
    ObservedRun observed(run);
    qint64 partialSize = 0;
    observed.windows.afterWait = [&] { partialSize = QFileInfo(run.archive(archiveName)).size(); };
    observed.expectQuestion(Answer::Yes);
    observed.windows.expectMessage(errorTitle, failureText, Buttons::Ok);

    // The system stops 7za with a signal once its archive passes the limit, and
    // leaves the part it has written.
    {
        const FileSizeLimit fullDisk(64 << 10, FileSizeLimit::Overstep::KillsWriter);
        QVERIFY(fullDisk.active());
        ArchiveBuilder::buildArchive(observed.session, run.project, scene, run.profile());
    }

    KORVO_VERIFY_SCRIPT(observed.windows);
    QCOMPARE(partialSize, qint64(64 << 10));
    QCOMPARE(between(normalised(observed.windows.lines(Gadget::LogBox)), boxHead(true).size()),
             QStringList({stopped, QString()}));
    QCOMPARE(between(errorLog(run), fileHead(true).size()), QStringList({stopped, QString()}));
    QVERIFY(QDir(run.archiveFolder()).isEmpty());
}

void ArchiveFailuresTest::sevenZipKilled()
{
    Fixture run;
    QVERIFY(run.ts.installSevenZip());
    QVERIFY(run.addFiles({{QStringLiteral("scenes/") + scene, "scene"},
                          {QStringLiteral("images/noise.tga"), incompressible(3 << 20, 5)}}));
    ObservedRun observed(run);
    bool killed = false;
    observed.windows.duringWait = [&] {
        if (!killed)
            killed = killSevenZip(run.base() + QStringLiteral("/7za"));
    };
    observed.expectQuestion(Answer::No);
    observed.windows.expectMessage(errorTitle, failureText, Buttons::Ok);

    ArchiveBuilder::buildArchive(observed.session, run.project, scene, run.profile());

    KORVO_VERIFY_SCRIPT(observed.windows);
    QVERIFY(killed);
    QCOMPARE(between(normalised(observed.windows.lines(Gadget::LogBox)), boxHead(true).size()),
             QStringList({stopped, QString()}));
    QCOMPARE(between(errorLog(run), fileHead(true).size()), QStringList({stopped, QString()}));
    QVERIFY(QDir(run.archiveFolder()).isEmpty());
    QVERIFY(observed.opener.opened.isEmpty());
}

void ArchiveFailuresTest::errorLogReplacedThenKept()
{
    Fixture run;
    QVERIFY(run.addFiles({{QStringLiteral("scenes/") + scene, "scene"}}));

    // First failure: no 7za at all.
    run.ts.windows.expectMessage(errorTitle, sevenZipMissingText, Buttons::Ok);
    run.expectFailureBox();
    ArchiveBuilder::buildArchive(*run.ts.session, run.project, scene, run.profile());
    QCOMPARE(errorLog(run), fileHead(false) + failureLines);

    // Second failure: a 7za that cannot be started; its error log replaces the first.
    QVERIFY(writeFile(run.base() + QStringLiteral("/7za"), "not a program"));
    run.expectQuestion(Answer::Yes);
    run.expectFailureBox();
    ArchiveBuilder::buildArchive(*run.ts.session, run.project, scene, run.profile());
    QCOMPARE(errorLog(run), fileHead(true) + failureLines);
    const QByteArray kept = readFile(run.base() + QStringLiteral("/ERROR_KORVObinder.log"));

    // A success leaves the last failure's log where it is.
    QVERIFY(run.ts.installSevenZip());
    run.expectQuestion(Answer::Yes);
    ArchiveBuilder::buildArchive(*run.ts.session, run.project, scene, run.profile());
    KORVO_VERIFY_SCRIPT(run.ts.windows);
    QVERIFY(QFileInfo::exists(run.archive(archiveName)));
    QCOMPARE(readFile(run.base() + QStringLiteral("/ERROR_KORVObinder.log")), kept);
    QCOMPARE(normalised(run.boxLines()), successBox(run.base(), archiveName));
}

QTEST_GUILESS_MAIN(ArchiveFailuresTest)
#include "tst_archive_failures.moc"
