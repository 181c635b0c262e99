#pragma once

#include <QByteArray>
#include <QString>

namespace Platform {

// A blocking IPv4 TCP client with a non-blocking poll; every wait has a bound.
// Built directly on the system's sockets so that one receive is exactly one
// receive of the system.
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

    // Whether the system can give out a TCP socket at all.
    static bool networkAvailable();

    // A dotted address is used as it is; a name goes through the resolver and
    // its first IPv4 address is used. The lookup and the connect together wait
    // at most `timeoutMilliseconds`.
    bool connectToHost(const QString &host, quint16 port, int timeoutMilliseconds);
    // All bytes in one go; the outcome is not reported.
    void send(const QByteArray &bytes);
    // Never waits and consumes nothing; Closed also when the poll itself fails.
    PollResult poll();
    // Waits for at most `timeoutMilliseconds` until something arrives, then
    // takes at most `maximum` bytes: > 0 bytes received, 0 the peer has closed,
    // -1 an error, -2 the wait timed out.
    qint64 receive(char *buffer, qint64 maximum, int timeoutMilliseconds);
    void close();

private:
    int m_descriptor = -1;
};

} // namespace Platform
