#pragma once

// What the update tests share: the texts the user must see, spelled out here
// independently of the client's own table, and a rig that points a session's
// update check at a reference server on 127.0.0.1.

#include "background_update_server.h"
#include "shell/session.h"
#include "test_session.h"
#include "update/update_client.h"

#include <QTcpServer>
#include <QTest>
#include <memory>

namespace UpdateText {

inline const QString version = QStringLiteral("1.6");
inline const QByteArray greeting = QByteArrayLiteral("KORVObinder v1.6 / Mac ");
inline const QByteArray request = QByteArrayLiteral("KORVObinder-update   (Mac)");

inline const QString title = QStringLiteral("KORVObinder update");
inline const QString notAvailable = QStringLiteral("The KORVO update server is currently not available.");
inline const QString upToDate = QStringLiteral("Your KORVObinder version is up to date.");
inline const QString transferError = QStringLiteral("An error has occurred during the transfer!");

inline QString question(const QString &reply)
{
    return QStringLiteral("New KORVObinder version detected: v") + reply +
           QStringLiteral("\nDo you want to download the new version?");
}

inline QString downloaded(const QString &base)
{
    return QStringLiteral("The new version has been downloaded in ") + base +
           QStringLiteral(".\nUncompress the .zip archive to update your version.");
}

} // namespace UpdateText

// Keeps the full description of every window opened, also after it has closed.
class WindowRecorder : public ScriptedWindowSystem
{
public:
    bool openWindow(const Platform::WindowLayout &layout) override
    {
        layouts.append(layout);
        pendingCallsAtOpen.append(processPendingCalls);
        return ScriptedWindowSystem::openWindow(layout);
    }

    QList<Platform::WindowLayout> layouts;
    QList<int> pendingCallsAtOpen;
};

class UpdateRig
{
public:
    explicit UpdateRig(const QByteArray &reply, ReferenceUpdateServer::Mode mode = ReferenceUpdateServer::Mode::Normal,
                       const QByteArray &updateFile = QByteArrayLiteral("zip"), qint64 announcedLength = -1)
    {
        ReferenceUpdateServer::Configuration configuration;
        configuration.reply = reply;
        configuration.mode = mode;
        configuration.updateFile = ts.scratch() + QStringLiteral("/served.zip");
        configuration.announcedLength = announcedLength;
        writeFile(configuration.updateFile, updateFile);
        server = std::make_unique<BackgroundUpdateServer>(configuration);
        listening = server->start();
        context = ts.session->context;
        context.updatePort = server->port();
    }

    // Built on first use, so that a test can change the context before.
    Session &session()
    {
        if (!m_session)
            m_session = std::make_unique<Session>(context, windows, opener);
        return *m_session;
    }

    Continuation check(int showUpToDate) { return CheckForUpdates(session(), UpdateText::version, showUpToDate); }

    QString base() const { return ts.base(); }
    QString archive() const { return ts.base() + QStringLiteral("/KORVObinder_Mac.zip"); }
    QString partial() const { return archive() + QStringLiteral(".part"); }

    // Waits until the client's connection has ended at the server.
    bool connectionEnded(int connections = 1) const
    {
        return QTest::qWaitFor([&] { return server->server().connectionsEnded() >= connections; }, 10000);
    }

    // Everything the server received on the first connection.
    QByteArray wire() const
    {
        const QList<QByteArray> conversations = server->server().conversations();
        return conversations.isEmpty() ? QByteArray() : conversations.first();
    }

    TestSession ts;
    WindowRecorder windows;
    RecordingOpener opener;
    std::unique_ptr<BackgroundUpdateServer> server;
    bool listening = false;
    Platform::AppContext context;

private:
    std::unique_ptr<Session> m_session;
};

// A port on 127.0.0.1 where nothing listens.
inline quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}
