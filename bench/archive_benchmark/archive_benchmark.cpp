// How much the program's wait for 7za costs: generates a project of about
// 200 MB (mostly incompressible textures, some scene and geometry text), packs
// it once with a bare `7za a <archive> -mx=5 -r` and once through
// ArchiveBuilder::buildArchive (the compression question answered Yes), and
// prints the ratio of the two compression wall times and the processor time the
// waiting program itself used meanwhile.
//
//   archive_benchmark [megabytes [rounds]]    (default 200 MB, one round)

#include "prepare/archive_builder.h"
#include "recording_opener.h"
#include "scripted_window_system.h"
#include "shell/main_window.h"
#include "test_session.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr qint64 megabyte = 1024 * 1024;
constexpr qint64 textureSize = 8 * megabyte;
constexpr int textFileCount = 6;
constexpr int verticesPerGeometryFile = 8000;

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// xorshift64: fast, and its output does not compress.
void writeNoise(const QString &path, qint64 size, quint64 seed)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray block(megabyte, Qt::Uninitialized);
    quint64 state = seed | 1;
    for (qint64 written = 0; written < size; written += block.size()) {
        auto *words = reinterpret_cast<quint64 *>(block.data());
        for (qsizetype i = 0; i < block.size() / qsizetype(sizeof(quint64)); ++i) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            words[i] = state;
        }
        file.write(block.constData(), qMin<qint64>(block.size(), size - written));
    }
}

void writeGeometry(const QString &path, quint64 seed)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    quint64 state = seed;
    auto next = [&state] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return double(state >> 11) / double(1ull << 53);
    };
    QByteArray text;
    for (int i = 0; i < verticesPerGeometryFile; ++i)
        text += QByteArray("v ") + QByteArray::number(next(), 'f', 6) + ' ' + QByteArray::number(next(), 'f', 6) + ' ' +
                QByteArray::number(next(), 'f', 6) + '\n';
    file.write(text);
}

void writeScene(const QString &path, int frames)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray text = "LWSC\n5\n\nFirstFrame 1\nLastFrame " + QByteArray::number(frames) + "\n\n";
    for (int frame = 0; frame < frames; ++frame)
        text += "  Key " + QByteArray::number(frame * 0.013, 'f', 4) + ' ' + QByteArray::number(frame / 30.0, 'f', 4) +
                " 0 0 0 0 0 0 0\n";
    file.write(text);
}

// Returns the project's size in bytes.
qint64 generateProject(const QString &project, qint64 megabytes)
{
    QDir().mkpath(project + QStringLiteral("/scenes"));
    QDir().mkpath(project + QStringLiteral("/objects"));
    QDir().mkpath(project + QStringLiteral("/images/maps"));
    qint64 total = 0;
    for (int i = 0; i < textFileCount; ++i) {
        writeScene(project + QStringLiteral("/scenes/shot_%1.lws").arg(i), 2000);
        writeGeometry(project + QStringLiteral("/objects/part_%1.obj").arg(i), quint64(i) + 11);
    }
    for (const QString &dir : {QStringLiteral("/scenes"), QStringLiteral("/objects")}) {
        for (const QFileInfo &info : QDir(project + dir).entryInfoList(QDir::Files))
            total += info.size();
    }
    for (int i = 0; total < megabytes * megabyte; ++i) {
        const qint64 size = qMin(textureSize, megabytes * megabyte - total);
        writeNoise(project + QStringLiteral("/images/maps/texture_%1.tga").arg(i, 2, 10, QLatin1Char('0')), size,
                   0x9E3779B97F4A7C15ull * quint64(i + 1));
        total += size;
    }
    return total;
}

// Notes when the compression begins (the question is answered) and ends (the
// progress bar is filled), and what the program's own processor time was then.
class TimingWindowSystem : public ScriptedWindowSystem
{
public:
    void setProgress(int gadget, int value) override
    {
        ScriptedWindowSystem::setProgress(gadget, value);
        endWall = clock.elapsed();
        endProcessor = processorSeconds();
    }

    QElapsedTimer clock;
    qint64 startWall = 0;
    qint64 endWall = 0;
    double startProcessor = 0;
    double endProcessor = 0;
};

struct ProgramRun
{
    qint64 compressionWall = 0;
    qint64 wholeWall = 0;
    double waitingProcessor = 0;
    int refreshes = 0;
};

qint64 runBare(const QString &sevenZip, const QString &project, const QString &archive)
{
    QFile::remove(archive);
    // What the generation or the previous run left to write back must not slow this run down.
    ::sync();
    QElapsedTimer clock;
    clock.start();
    QProcess bare;
    bare.setWorkingDirectory(project);
    bare.setStandardOutputFile(QProcess::nullDevice());
    bare.start(sevenZip, {QStringLiteral("a"), archive, QStringLiteral("-mx=5"), QStringLiteral("-r")});
    bare.waitForFinished(-1);
    const qint64 wall = clock.elapsed();
    if (bare.exitStatus() != QProcess::NormalExit || bare.exitCode() != 0)
        qFatal("the bare 7za run failed");
    return wall;
}

ProgramRun runProgram(const QString &base, const QString &project)
{
    ::sync();
    TimingWindowSystem windows;
    RecordingOpener opener;
    Session session(testContext(base), windows, opener);
    session.application = profileByName(u"Lightwave");
    MainWindow::open(session, 0, QSize());
    windows.clock.start();
    windows.expectMessage(QStringLiteral("Compression level"),
                          QStringLiteral("Maximum compression? (if No, maximum speed)"), Platform::Buttons::YesNo,
                          Platform::Answer::Yes, [&windows] {
                              windows.startWall = windows.clock.elapsed();
                              windows.startProcessor = processorSeconds();
                          });
    QElapsedTimer wholeClock;
    wholeClock.start();
    ArchiveBuilder::buildArchive(session, project, QStringLiteral("shot_0.lws"), *session.application);

    ProgramRun run;
    run.wholeWall = wholeClock.elapsed();
    const QString problems = windows.problems();
    if (!problems.isEmpty() || QFileInfo(base + QStringLiteral("/archive/shot_0.vul")).size() <= 0)
        qFatal("the preparation did not end in an archive: %s", qPrintable(problems));
    run.compressionWall = windows.endWall - windows.startWall;
    run.waitingProcessor = windows.endProcessor - windows.startProcessor;
    run.refreshes = windows.processPendingCalls;
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 200;
    const int rounds = argc > 2 ? QByteArray(argv[2]).toInt() : 1;

    QTemporaryDir root;
    const QString base = root.path() + QStringLiteral("/KORVObinder");
    const QString project = root.path() + QStringLiteral("/project/");
    const QString sevenZip = base + QStringLiteral("/7za");
    QDir().mkpath(base + QStringLiteral("/archive"));
    QFile::copy(QStringLiteral(KORVO_BENCH_7ZA), sevenZip);
    QFile::setPermissions(sevenZip, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    std::printf("generating a project of %lld MB in %s ...\n", megabytes, qPrintable(project));
    const qint64 projectSize = generateProject(project, megabytes);
    std::printf("project: %.1f MB; %d round(s), the order of the two runs alternating\n",
                double(projectSize) / megabyte, rounds);

    qint64 bareTotal = 0;
    qint64 programTotal = 0;
    double processorTotal = 0;
    for (int round = 0; round < rounds; ++round) {
        // The bare archive goes beside the program's, in the same folder.
        const QString bareArchive = base + QStringLiteral("/archive/bare.vul");
        qint64 bare = 0;
        ProgramRun program;
        if (round % 2 == 0) {
            bare = runBare(sevenZip, project, bareArchive);
            program = runProgram(base, project);
        } else {
            program = runProgram(base, project);
            bare = runBare(sevenZip, project, bareArchive);
        }
        bareTotal += bare;
        programTotal += program.compressionWall;
        processorTotal += program.waitingProcessor;
        std::printf("round %d: bare 7za a -mx=5 -r %.3f s; compression through the program %.3f s "
                    "(whole run with the log added %.3f s); ratio %.4f; waiting program's processor time %.3f s "
                    "over %d window refreshes\n",
                    round + 1, bare / 1000.0, program.compressionWall / 1000.0, program.wholeWall / 1000.0,
                    double(program.compressionWall) / double(bare), program.waitingProcessor, program.refreshes);
    }
    std::printf("wall time ratio program / bare: %.4f  (goal <= 1.03)\n", double(programTotal) / double(bareTotal));
    std::printf("processor time of the waiting program during the compression: %.3f s = %.3f %% of the "
                "compression's wall time (goal < 1 %%)\n",
                processorTotal, 100.0 * processorTotal / (programTotal / 1000.0));
    return 0;
}
