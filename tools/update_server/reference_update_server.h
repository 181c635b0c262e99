#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

class QTcpServer;

// The farm's side of the update protocol: answers a greeting with its version
// reply, and a download request with the update file framed by its 8-byte
// little-endian length. For tests it can also misbehave in set ways.
namespace ReferenceUpdateServer {

enum class Mode
{
    Normal,            // reply, then the file on request; the client closes
    NoReply,           // takes the greeting and stays silent, connection open
    CloseWithoutReply, // closes right after the greeting
    ReplyThenClose,    // replies, then closes at once
    ZeroLength,        // announces a length of 0
    Short,             // sends half the file, then closes
    Surplus,           // sends the file and more bytes with its end
    Stall,             // sends half the file, then stops without closing
    Slow,              // sends the whole stream in 3-byte pieces with pauses
};

std::optional<Mode> modeFromName(const QString &name);
QStringList modeNames();

struct Configuration
{
    // Sent exactly as given, in one write.
    QByteArray reply;
    QString updateFile;
    Mode mode = Mode::Normal;
    // The length put in front of the file; negative means the file's size.
    qint64 announcedLength = -1;
};

class Server : public QObject
{
    Q_OBJECT

public:
    explicit Server(const Configuration &configuration, QObject *parent = nullptr);

    bool listen(const QHostAddress &address, quint16 port);
    quint16 port() const;
    QString errorString() const;
    const Configuration &configuration() const { return m_configuration; }

    // Safe from any thread: what each client sent, in the order of the
    // connections, and how many of them have ended.
    QList<QByteArray> conversations() const;
    int connectionsEnded() const;

    // Called by the connections, from the server's thread.
    int beginConversation();
    void record(int conversation, const QByteArray &bytes);
    void endConversation(int conversation);
    void log(const QString &line);

Q_SIGNALS:
    void message(const QString &line);

private:
    void acceptConnections();

    const Configuration m_configuration;
    QTcpServer *m_listener;
    mutable QMutex m_mutex;
    QList<QByteArray> m_conversations;
    int m_ended = 0;
};

} // namespace ReferenceUpdateServer
