// Usage: update_benchmark [MiB (1024)] [rounds (2)] [work directory (the system's temporary one)]
//
// The reference server (a separate process, so that its memory does not count)
// serves a sparse update file over loopback. Each round receives it once with
// a plain reader and once with ReceiveFile, both writing to disk with 1024-byte
// receives; the throughput ratio and the peak resident memory of this process
// during each receiver are printed.

#include "plain_reader.h"
#include "platform/tcp_client.h"
#include "process_memory.h"
#include "update/receive_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr qint64 mebibyte = 1024 * 1024;

struct Measurement
{
    qint64 bytes = 0;
    qint64 nanoseconds = 0;
    qint64 peakKiB = -1;
};

quint16 startServer(QProcess &server, const QString &file)
{
    server.setStandardErrorFile(QProcess::nullDevice());
    server.start(QStringLiteral(KORVO_UPDATE_SERVER_PROGRAM),
                 {QStringLiteral("--reply"), QStringLiteral("1.7"), QStringLiteral("--file"), file,
                  QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--listen"),
                  QStringLiteral("127.0.0.1")});
    if (!server.waitForReadyRead(10000))
        return 0;
    // "listening on ADDRESS port PORT"
    return quint16(server.readLine().trimmed().split(' ').last().toUInt());
}

Measurement plainReader(quint16 port, const QString &target)
{
    Measurement measurement;
    ProcessMemory::resetPeak();
    measurement.bytes = PlainReader::download(port, target, measurement.nanoseconds);
    measurement.peakKiB = ProcessMemory::peakResidentKiB();
    return measurement;
}

Measurement receiveFile(quint16 port, const QString &target)
{
    Measurement measurement;
    ProcessMemory::resetPeak();
    Platform::TcpClient connection;
    char reply[1000];
    if (!connection.connectToHost(QStringLiteral("127.0.0.1"), port, 10000))
        return measurement;
    connection.send("KORVObinder v1.6 / Mac ");
    if (connection.receive(reply, sizeof reply, 10000) <= 0)
        return measurement;
    connection.send("KORVObinder-update   (Mac)");
    QElapsedTimer timer;
    timer.start();
    const int stored = ReceiveFile(connection, target, 60000);
    measurement.nanoseconds = timer.nsecsElapsed();
    measurement.peakKiB = ProcessMemory::peakResidentKiB();
    measurement.bytes = stored == 1 ? QFile(target).size() : -1;
    return measurement;
}

// The first read of the served file fills the page cache; done here, it
// slows neither reader.
void warmPageCache(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QByteArray chunk(int(mebibyte), Qt::Uninitialized);
    while (file.read(chunk.data(), chunk.size()) > 0) {
    }
}

double mibPerSecond(qint64 bytes, qint64 nanoseconds)
{
    return nanoseconds > 0 ? double(bytes) / mebibyte / (double(nanoseconds) / 1e9) : 0.0;
}

void print(int round, const char *name, const Measurement &m)
{
    std::printf("round %d  %-12s %8.1f MiB/s  %6.2f s  peak resident %7.1f MiB\n", round, name,
                mibPerSecond(m.bytes, m.nanoseconds), double(m.nanoseconds) / 1e9, double(m.peakKiB) / 1024);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const qint64 size = (arguments.size() > 1 ? arguments.at(1).toLongLong() : 1024) * mebibyte;
    const int rounds = arguments.size() > 2 ? arguments.at(2).toInt() : 2;
    const QString directory = arguments.size() > 3 ? arguments.at(3) : QDir::tempPath();
    const qint64 idleKiB = ProcessMemory::residentKiB();

    QTemporaryDir work(directory + QStringLiteral("/korvo-update-benchmark-XXXXXX"));
    const QString served = work.path() + QStringLiteral("/served.zip");
    const QString target = work.path() + QStringLiteral("/KORVObinder_Mac.zip");
    QFile file(served);
    if (size <= 0 || rounds <= 0 || !work.isValid() || !file.open(QIODevice::WriteOnly) || !file.resize(size)) {
        std::fprintf(stderr, "cannot prepare the served file in %s\n", qPrintable(directory));
        return 1;
    }
    file.close();
    warmPageCache(served);

    QProcess server;
    const quint16 port = startServer(server, served);
    if (port == 0) {
        std::fprintf(stderr, "the reference server did not start\n");
        return 1;
    }

    std::printf("update benchmark: %lld MiB over loopback, 1024-byte receives written to disk, %d rounds\n",
                size / mebibyte, rounds);
    std::printf("idle resident memory: %.1f MiB\n", double(idleKiB) / 1024);
    Measurement plainTotal;
    Measurement receiveTotal;
    bool complete = true;
    for (int round = 1; round <= rounds; ++round) {
        // The first transfer of a run warms the server and the caches; take
        // turns at going first so that neither reader always pays for it.
        Measurement plain;
        Measurement received;
        for (const bool plainTurn : {round % 2 == 1, round % 2 == 0}) {
            if (plainTurn)
                plain = plainReader(port, target);
            else
                received = receiveFile(port, target);
            QFile::remove(target);
        }
        print(round, "plain reader", plain);
        print(round, "ReceiveFile", received);
        complete = complete && plain.bytes == size && received.bytes == size;
        plainTotal.nanoseconds += plain.nanoseconds;
        plainTotal.peakKiB = std::max(plainTotal.peakKiB, plain.peakKiB);
        receiveTotal.nanoseconds += received.nanoseconds;
        receiveTotal.peakKiB = std::max(receiveTotal.peakKiB, received.peakKiB);
    }
    server.kill();
    server.waitForFinished();
    if (!complete) {
        std::fprintf(stderr, "a transfer did not complete\n");
        return 1;
    }

    std::printf("throughput ratio ReceiveFile / plain reader: %.3f (goal >= 0.9)\n",
                double(plainTotal.nanoseconds) / double(receiveTotal.nanoseconds));
    std::printf("peak resident over idle: ReceiveFile %+.1f MiB, plain reader %+.1f MiB (goal: a few MB)\n",
                double(receiveTotal.peakKiB - idleKiB) / 1024, double(plainTotal.peakKiB - idleKiB) / 1024);
    return 0;
}
