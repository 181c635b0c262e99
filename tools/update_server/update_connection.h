#pragma once

#include "reference_update_server.h"

#include <QFile>
#include <QObject>

class QTcpSocket;
class QTimer;

namespace ReferenceUpdateServer {

// One client of the reference server: reads the greeting and the request,
// answers as the server's mode says, and streams the file without ever
// holding it whole in memory. Deletes itself when the client has gone.
class UpdateConnection : public QObject
{
    Q_OBJECT

public:
    UpdateConnection(Server *server, QTcpSocket *socket);

private:
    enum class Stage
    {
        Greeting,
        Request,
        Silent,
    };

    void readClient();
    void answerGreeting();
    void startFile();
    // The next at most `maximum` bytes of the framed stream.
    QByteArray take(qint64 maximum);
    bool streamDone() const;
    void sendMore();
    void sendSlowPiece();
    void finishStream();
    void log(const QString &line);

    Server *m_server;
    QTcpSocket *m_socket;
    QTimer *m_slowTimer = nullptr;
    const Configuration &m_configuration;
    int m_conversation;
    Stage m_stage = Stage::Greeting;
    QByteArray m_input;

    QByteArray m_header;
    QFile m_file;
    qint64 m_bodyLeft = 0;
    QByteArray m_trailer;
    qint64 m_sent = 0;
};

} // namespace ReferenceUpdateServer
