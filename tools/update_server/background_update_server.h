#pragma once

#include "reference_update_server.h"

#include <QThread>

// The reference server on a thread of its own, for callers that block their
// own thread on the client side (the tests and the benchmark).
class BackgroundUpdateServer
{
public:
    explicit BackgroundUpdateServer(const ReferenceUpdateServer::Configuration &configuration);
    ~BackgroundUpdateServer();
    BackgroundUpdateServer(const BackgroundUpdateServer &) = delete;
    BackgroundUpdateServer &operator=(const BackgroundUpdateServer &) = delete;

    // Port 0 picks a free port; port() tells which.
    bool start(const QHostAddress &address = QHostAddress(QHostAddress::LocalHost), quint16 port = 0);
    quint16 port() const { return m_port; }

    // Only its thread-safe members may be used from the caller's thread.
    const ReferenceUpdateServer::Server &server() const { return *m_server; }

private:
    QThread m_thread;
    ReferenceUpdateServer::Server *m_server;
    quint16 m_port = 0;
};
