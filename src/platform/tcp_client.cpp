#include "tcp_client.h"

#include <QDeadlineTimer>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace Platform {

namespace {

// A peer that has gone must give an error, not a signal that ends the program.
#ifdef MSG_NOSIGNAL
constexpr int sendFlags = MSG_NOSIGNAL;
#else
constexpr int sendFlags = 0;
#endif

// The outcome of one name lookup, shared with the thread that runs it: the
// system resolver has no time limit of its own, so the caller may stop waiting
// and leave the thread to finish alone.
struct Lookup
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool found = false;
    in_addr address{};
};

bool resolve(const QByteArray &host, QDeadlineTimer deadline, in_addr &address)
{
    if (inet_pton(AF_INET, host.constData(), &address) == 1)
        return true;
    auto lookup = std::make_shared<Lookup>();
    std::thread([lookup, host] {
        addrinfo hints{};
        hints.ai_family = AF_INET;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo *results = nullptr;
        const bool found = getaddrinfo(host.constData(), nullptr, &hints, &results) == 0 && results;
        std::lock_guard lock(lookup->mutex);
        if (found)
            lookup->address = reinterpret_cast<const sockaddr_in *>(results->ai_addr)->sin_addr;
        if (results)
            freeaddrinfo(results);
        lookup->found = found;
        lookup->done = true;
        lookup->finished.notify_all();
    }).detach();
    std::unique_lock lock(lookup->mutex);
    const auto ready = [&lookup] { return lookup->done; };
    if (deadline.isForever())
        lookup->finished.wait(lock, ready);
    else if (!lookup->finished.wait_for(lock, std::chrono::milliseconds(deadline.remainingTime()), ready))
        return false;
    address = lookup->address;
    return lookup->found;
}

// 1 when the descriptor is ready for `events`, 0 when the deadline has passed, -1 on an error.
int waitFor(int descriptor, short events, QDeadlineTimer deadline)
{
    for (;;) {
        pollfd entry{descriptor, events, 0};
        const int ready = ::poll(&entry, 1, int(deadline.remainingTime()));
        if (ready >= 0)
            return ready > 0 ? 1 : 0;
        if (errno != EINTR)
            return -1;
    }
}

bool setNonBlocking(int descriptor, bool on)
{
    const int flags = fcntl(descriptor, F_GETFL);
    return flags != -1 && fcntl(descriptor, F_SETFL, on ? flags | O_NONBLOCK : flags & ~O_NONBLOCK) != -1;
}

int openSocket()
{
    const int descriptor = ::socket(AF_INET, SOCK_STREAM, 0);
    if (descriptor < 0)
        return -1;
    fcntl(descriptor, F_SETFD, FD_CLOEXEC);
#ifdef SO_NOSIGPIPE
    const int on = 1;
    setsockopt(descriptor, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
#endif
    return descriptor;
}

bool connectWithin(int descriptor, const sockaddr_in &target, QDeadlineTimer deadline)
{
    if (!setNonBlocking(descriptor, true))
        return false;
    if (::connect(descriptor, reinterpret_cast<const sockaddr *>(&target), sizeof target) != 0) {
        // An interrupted connect goes on in the background, like one in progress.
        if (errno != EINPROGRESS && errno != EINTR)
            return false;
        if (waitFor(descriptor, POLLOUT, deadline) != 1)
            return false;
        int error = 0;
        socklen_t length = sizeof error;
        if (getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            return false;
    }
    return setNonBlocking(descriptor, false);
}

} // namespace

TcpClient::TcpClient() = default;

TcpClient::~TcpClient()
{
    close();
}

bool TcpClient::networkAvailable()
{
    const int descriptor = openSocket();
    if (descriptor < 0)
        return false;
    ::close(descriptor);
    return true;
}

bool TcpClient::connectToHost(const QString &host, quint16 port, int timeoutMilliseconds)
{
    close();
    const QDeadlineTimer deadline(timeoutMilliseconds);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    if (!resolve(host.toUtf8(), deadline, target.sin_addr))
        return false;
    const int descriptor = openSocket();
    if (descriptor < 0)
        return false;
    if (!connectWithin(descriptor, target, deadline)) {
        ::close(descriptor);
        return false;
    }
    m_descriptor = descriptor;
    return true;
}

void TcpClient::send(const QByteArray &bytes)
{
    qsizetype sent = 0;
    while (m_descriptor >= 0 && sent < bytes.size()) {
        const ssize_t count = ::send(m_descriptor, bytes.constData() + sent, size_t(bytes.size() - sent), sendFlags);
        if (count < 0 && errno != EINTR)
            return;
        if (count > 0)
            sent += count;
    }
}

TcpClient::PollResult TcpClient::poll()
{
    if (m_descriptor < 0)
        return PollResult::Closed;
    for (;;) {
        char byte;
        const ssize_t count = ::recv(m_descriptor, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
        if (count > 0)
            return PollResult::Data;
        if (count == 0)
            return PollResult::Closed;
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? PollResult::Nothing : PollResult::Closed;
    }
}

qint64 TcpClient::receive(char *buffer, qint64 maximum, int timeoutMilliseconds)
{
    if (m_descriptor < 0 || maximum <= 0)
        return -1;
    const QDeadlineTimer deadline(timeoutMilliseconds);
    for (;;) {
        // Try first: while a transfer streams in, data is nearly always there
        // and the wait would only cost a second system call.
        const ssize_t count = ::recv(m_descriptor, buffer, size_t(maximum), MSG_DONTWAIT);
        if (count >= 0)
            return count;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return -1;
        const int ready = waitFor(m_descriptor, POLLIN, deadline);
        if (ready == 0)
            return -2;
        if (ready < 0)
            return -1;
    }
}

void TcpClient::close()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}

} // namespace Platform
