#include "background_update_server.h"

BackgroundUpdateServer::BackgroundUpdateServer(const ReferenceUpdateServer::Configuration &configuration)
    : m_server(new ReferenceUpdateServer::Server(configuration))
{
    m_server->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_server, &QObject::deleteLater);
    m_thread.start();
}

BackgroundUpdateServer::~BackgroundUpdateServer()
{
    m_thread.quit();
    m_thread.wait();
}

bool BackgroundUpdateServer::start(const QHostAddress &address, quint16 port)
{
    bool listening = false;
    QMetaObject::invokeMethod(
        m_server,
        [&] {
            listening = m_server->listen(address, port);
            m_port = m_server->port();
        },
        Qt::BlockingQueuedConnection);
    return listening;
}
