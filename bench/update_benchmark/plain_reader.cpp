#include "plain_reader.h"

#include <QElapsedTimer>
#include <arpa/inet.h>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace PlainReader {

namespace {

constexpr size_t blockSize = 1024;
// A generous write buffer, so that the yardstick is not held back by small writes.
constexpr size_t writeBufferSize = 64 * 1024;

bool sendAll(int descriptor, const char *text)
{
    const size_t length = std::strlen(text);
    return ::send(descriptor, text, length, 0) == ssize_t(length);
}

qint64 receiveFile(int descriptor, FILE *file)
{
    char block[blockSize];
    size_t filled = 0;
    while (filled < 8) {
        const ssize_t count = ::recv(descriptor, block + filled, blockSize - filled, 0);
        if (count <= 0)
            return -1;
        filled += size_t(count);
    }
    qint64 length = 0;
    std::memcpy(&length, block, 8);
    qint64 received = qint64(filled) - 8;
    std::fwrite(block + 8, 1, size_t(received), file);
    while (received < length) {
        const ssize_t count = ::recv(descriptor, block, blockSize, 0);
        if (count <= 0)
            return -1;
        std::fwrite(block, 1, size_t(count), file);
        received += count;
    }
    return received == length ? received : -1;
}

} // namespace

qint64 download(quint16 port, const QString &path, qint64 &transferNanoseconds)
{
    const int descriptor = ::socket(AF_INET, SOCK_STREAM, 0);
    if (descriptor < 0)
        return -1;
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(port);
    server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    char reply[1000];
    qint64 received = -1;
    if (::connect(descriptor, reinterpret_cast<const sockaddr *>(&server), sizeof server) == 0 &&
        sendAll(descriptor, "KORVObinder v1.6 / Mac ") && ::recv(descriptor, reply, sizeof reply, 0) > 0 &&
        sendAll(descriptor, "KORVObinder-update   (Mac)")) {
        QElapsedTimer timer;
        timer.start();
        if (FILE *file = std::fopen(path.toUtf8().constData(), "wb")) {
            std::setvbuf(file, nullptr, _IOFBF, writeBufferSize);
            received = receiveFile(descriptor, file);
            if (std::fclose(file) != 0)
                received = -1;
        }
        transferNanoseconds = timer.nsecsElapsed();
    }
    ::close(descriptor);
    return received;
}

} // namespace PlainReader
