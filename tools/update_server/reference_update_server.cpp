#include "reference_update_server.h"

#include "update_connection.h"

#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <array>
#include <utility>

namespace ReferenceUpdateServer {

namespace {

constexpr std::array<std::pair<Mode, const char *>, 9> modeTable{{
    {Mode::Normal, "normal"},
    {Mode::NoReply, "no-reply"},
    {Mode::CloseWithoutReply, "close-without-reply"},
    {Mode::ReplyThenClose, "reply-then-close"},
    {Mode::ZeroLength, "zero-length"},
    {Mode::Short, "short"},
    {Mode::Surplus, "surplus"},
    {Mode::Stall, "stall"},
    {Mode::Slow, "slow"},
}};

} // namespace

std::optional<Mode> modeFromName(const QString &name)
{
    for (const auto &[mode, text] : modeTable) {
        if (name == QLatin1String(text))
            return mode;
    }
    return std::nullopt;
}

QStringList modeNames()
{
    QStringList names;
    for (const auto &entry : modeTable)
        names.append(QLatin1String(entry.second));
    return names;
}

Server::Server(const Configuration &configuration, QObject *parent)
    : QObject(parent)
    , m_configuration(configuration)
    , m_listener(new QTcpServer(this))
{
    connect(m_listener, &QTcpServer::newConnection, this, &Server::acceptConnections);
}

bool Server::listen(const QHostAddress &address, quint16 port)
{
    return m_listener->listen(address, port);
}

quint16 Server::port() const
{
    return m_listener->serverPort();
}

QString Server::errorString() const
{
    return m_listener->errorString();
}

QList<QByteArray> Server::conversations() const
{
    QMutexLocker lock(&m_mutex);
    return m_conversations;
}

int Server::connectionsEnded() const
{
    QMutexLocker lock(&m_mutex);
    return m_ended;
}

int Server::beginConversation()
{
    QMutexLocker lock(&m_mutex);
    m_conversations.append(QByteArray());
    return int(m_conversations.size()) - 1;
}

void Server::record(int conversation, const QByteArray &bytes)
{
    QMutexLocker lock(&m_mutex);
    m_conversations[conversation].append(bytes);
}

void Server::endConversation(int conversation)
{
    {
        QMutexLocker lock(&m_mutex);
        ++m_ended;
    }
    log(QStringLiteral("#%1 connection ended").arg(conversation));
}

void Server::log(const QString &line)
{
    Q_EMIT message(line);
}

void Server::acceptConnections()
{
    while (QTcpSocket *socket = m_listener->nextPendingConnection())
        new UpdateConnection(this, socket);
}

} // namespace ReferenceUpdateServer
