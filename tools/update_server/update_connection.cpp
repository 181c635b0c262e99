#include "update_connection.h"

#include "update_protocol.h"

#include <QTcpSocket>
#include <QTimer>
#include <QtEndian>
#include <algorithm>

namespace ReferenceUpdateServer {

namespace {

constexpr qint64 chunkSize = 64 * 1024;
// Enough queued to keep the socket busy, little enough to keep memory flat.
constexpr qint64 queuedBytesLimit = 256 * 1024;
constexpr qint64 slowPieceSize = 3;
constexpr int slowPauseMilliseconds = 2;

QString printable(const QByteArray &bytes)
{
    QString text;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 0x20 && value < 0x7f && value != '\\')
            text.append(QLatin1Char(byte));
        else
            text.append(QStringLiteral("\\x%1").arg(value, 2, 16, QLatin1Char('0')));
    }
    return text;
}

} // namespace

UpdateConnection::UpdateConnection(Server *server, QTcpSocket *socket)
    : QObject(server)
    , m_server(server)
    , m_socket(socket)
    , m_configuration(server->configuration())
    , m_conversation(server->beginConversation())
{
    socket->setParent(this);
    log(QStringLiteral("connection from %1").arg(socket->peerAddress().toString()));
    connect(socket, &QTcpSocket::readyRead, this, &UpdateConnection::readClient);
    connect(socket, &QTcpSocket::bytesWritten, this, &UpdateConnection::sendMore);
    connect(socket, &QTcpSocket::disconnected, this, [this] {
        m_server->endConversation(m_conversation);
        deleteLater();
    });
}

void UpdateConnection::log(const QString &line)
{
    m_server->log(QStringLiteral("#%1 %2").arg(m_conversation).arg(line));
}

void UpdateConnection::readClient()
{
    const QByteArray bytes = m_socket->readAll();
    m_server->record(m_conversation, bytes);
    log(QStringLiteral("received %1 bytes: \"%2\"").arg(bytes.size()).arg(printable(bytes)));
    if (m_stage == Stage::Silent)
        return;
    m_input.append(bytes);
    if (m_stage == Stage::Greeting) {
        if (m_input.endsWith(Protocol::greetingEnd)) {
            m_input.clear();
            answerGreeting();
        } else if (m_input.size() > Protocol::longestGreeting) {
            log(QStringLiteral("no greeting; closing"));
            m_stage = Stage::Silent;
            m_socket->disconnectFromHost();
        }
        return;
    }
    if (m_input == Protocol::downloadRequest) {
        m_stage = Stage::Silent;
        startFile();
    } else if (m_input.size() >= Protocol::downloadRequest.size()) {
        log(QStringLiteral("not a download request; closing"));
        m_stage = Stage::Silent;
        m_socket->disconnectFromHost();
    }
}

void UpdateConnection::answerGreeting()
{
    switch (m_configuration.mode) {
    case Mode::NoReply:
        log(QStringLiteral("greeting taken, staying silent"));
        m_stage = Stage::Silent;
        return;
    case Mode::CloseWithoutReply:
        log(QStringLiteral("greeting taken, closing without a reply"));
        m_stage = Stage::Silent;
        m_socket->disconnectFromHost();
        return;
    default:
        break;
    }
    m_socket->write(m_configuration.reply);
    log(QStringLiteral("replied \"%1\"").arg(printable(m_configuration.reply)));
    m_stage = Stage::Request;
    if (m_configuration.mode == Mode::ReplyThenClose) {
        m_stage = Stage::Silent;
        m_socket->disconnectFromHost();
    }
}

void UpdateConnection::startFile()
{
    m_file.setFileName(m_configuration.updateFile);
    if (!m_file.open(QIODevice::ReadOnly)) {
        log(QStringLiteral("cannot read the update file %1; closing").arg(m_configuration.updateFile));
        m_socket->disconnectFromHost();
        return;
    }
    const qint64 size = m_file.size();
    qint64 announced = m_configuration.announcedLength >= 0 ? m_configuration.announcedLength : size;
    m_bodyLeft = size;
    switch (m_configuration.mode) {
    case Mode::ZeroLength:
        announced = 0;
        m_bodyLeft = 0;
        break;
    case Mode::Short:
    case Mode::Stall:
        m_bodyLeft = size / 2;
        break;
    case Mode::Surplus:
        m_trailer = Protocol::surplusBytes;
        break;
    default:
        break;
    }
    m_header.resize(sizeof(qint64));
    qToLittleEndian(announced, m_header.data());
    log(QStringLiteral("download requested: announcing %1 bytes, sending %2").arg(announced).arg(m_bodyLeft));

    if (m_configuration.mode == Mode::Slow) {
        m_slowTimer = new QTimer(this);
        connect(m_slowTimer, &QTimer::timeout, this, &UpdateConnection::sendSlowPiece);
        m_slowTimer->start(slowPauseMilliseconds);
        return;
    }
    sendMore();
}

QByteArray UpdateConnection::take(qint64 maximum)
{
    QByteArray piece = m_header.left(maximum);
    m_header.remove(0, piece.size());
    const qint64 fromFile = std::min(maximum - piece.size(), m_bodyLeft);
    if (fromFile > 0) {
        const QByteArray bytes = m_file.read(fromFile);
        // A file that shrank while being sent ends the stream early.
        m_bodyLeft = bytes.size() < fromFile ? 0 : m_bodyLeft - fromFile;
        piece.append(bytes);
    }
    // Surplus bytes travel with the end of the file, in the same write.
    if (m_header.isEmpty() && m_bodyLeft == 0) {
        piece.append(m_trailer);
        m_trailer.clear();
    }
    m_sent += piece.size();
    return piece;
}

bool UpdateConnection::streamDone() const
{
    return m_header.isEmpty() && m_bodyLeft == 0 && m_trailer.isEmpty();
}

void UpdateConnection::sendMore()
{
    if (m_slowTimer || !m_file.isOpen())
        return;
    while (!streamDone() && m_socket->bytesToWrite() < queuedBytesLimit)
        m_socket->write(take(chunkSize));
    if (streamDone())
        finishStream();
}

void UpdateConnection::sendSlowPiece()
{
    m_socket->write(take(slowPieceSize));
    if (streamDone()) {
        m_slowTimer->stop();
        finishStream();
    }
}

void UpdateConnection::finishStream()
{
    log(QStringLiteral("sent %1 bytes").arg(m_sent));
    m_file.close();
    if (m_configuration.mode == Mode::Short) {
        log(QStringLiteral("closing before the announced end"));
        m_socket->disconnectFromHost();
    }
}

} // namespace ReferenceUpdateServer
