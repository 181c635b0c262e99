#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QTcpSocket;

namespace Platform {

// A blocking IPv4 TCP client with a non-blocking poll; every wait has a bound.
class TcpClient
{
public:
    enum class PollResult
    {
        Nothing,
        Data,
        Closed,
    };

    TcpClient();
    ~TcpClient();
    TcpClient(const TcpClient &) = delete;
    TcpClient &operator=(const TcpClient &) = delete;

    // A dotted address is used as it is; a name goes through the resolver and
    // its first IPv4 address is used.
    bool connectToHost(const QString &host, quint16 port, int timeoutMilliseconds);
    void send(const QByteArray &bytes);
    // Never waits and consumes nothing.
    PollResult poll();
    // Waits for at most `timeoutMilliseconds` until something arrives, then
    // takes at most `maximum` bytes: > 0 bytes received, 0 the peer has closed,
    // -1 an error, -2 the wait timed out.
    qint64 receive(char *buffer, qint64 maximum, int timeoutMilliseconds);
    void close();

private:
    std::unique_ptr<QTcpSocket> m_socket;
};

} // namespace Platform
