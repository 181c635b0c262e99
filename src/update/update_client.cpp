#include "update_client.h"

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/tcp_client.h"
#include "platform/window_system.h"
#include "shell/main_window.h"
#include "shell/session.h"
#include "status_window.h"
#include "update_download.h"
#include "update_messages.h"
#include "update_reply.h"
#include "version_compare.h"

#include <array>

using Platform::Buttons;
using Platform::TcpClient;

namespace {

constexpr qsizetype replyBufferSize = 1000;
constexpr int pollPauseMilliseconds = 1;

// Set by the first check that finds the network working; later checks trust it.
bool networkReady = false;

void show(Platform::WindowSystem &windows, const UpdateMessages::Box &box)
{
    windows.messageBox(box.title.toString(), box.text.toString(), Buttons::Ok);
}

// Anything under the marker's name, an empty file or a folder included, points
// the check to the farm's own server.
QString updateHost(const Platform::AppContext &context)
{
    const bool local = Platform::Files::fileSize(context.baseDirectory + UpdateMessages::localServerMarker) !=
                       Platform::Files::Missing;
    return local ? context.localUpdateHost : context.publicUpdateHost;
}

// Polls with a short pause until the server has sent something or closed;
// Nothing when it has done neither within `limitMilliseconds`.
TcpClient::PollResult awaitReply(TcpClient &connection, int limitMilliseconds)
{
    const qint64 deadline = Platform::milliseconds() + limitMilliseconds;
    for (;;) {
        const TcpClient::PollResult state = connection.poll();
        if (state != TcpClient::PollResult::Nothing || Platform::milliseconds() >= deadline)
            return state;
        Platform::sleepMilliseconds(pollPauseMilliseconds);
    }
}

} // namespace

Continuation CheckForUpdates(Session &session, const QString &version, int showUpToDate)
{
    Platform::WindowSystem &windows = session.windows;
    const Platform::UpdateLimits &limits = session.context.updateLimits;

    if (!networkReady) {
        if (!TcpClient::networkAvailable()) {
            show(windows, UpdateMessages::networkError);
            return Continuation::Continue;
        }
        networkReady = true;
    }

    std::array<char, replyBufferSize> reply{};
    openStatusWindow(windows, Window::UpdateConnecting, UpdateMessages::connectingWindowTitle);

    TcpClient connection;
    if (!connection.connectToHost(updateHost(session.context), session.context.updatePort,
                                  limits.connectMilliseconds)) {
        windows.closeWindow(Window::UpdateConnecting);
        show(windows, UpdateMessages::notAvailable);
        return Continuation::Continue;
    }
    connection.send((UpdateMessages::greetingBefore + version + UpdateMessages::greetingAfter).toUtf8());

    const TcpClient::PollResult state = awaitReply(connection, limits.replyMilliseconds);
    windows.closeWindow(Window::UpdateConnecting);
    if (state == TcpClient::PollResult::Nothing) {
        // A server that accepts but never answers counts as one that is not there.
        show(windows, UpdateMessages::notAvailable);
        return Continuation::Continue;
    }

    if (state == TcpClient::PollResult::Data) {
        // One receive; what arrives later is not part of the reply.
        const qint64 received = connection.receive(reply.data(), reply.size(), limits.replyMilliseconds);
        const QString text = replyText(reply.data(), received);
        if (!versionIsOlder(version, serverVersion(text))) {
            if (showUpToDate == 1)
                show(windows, UpdateMessages::upToDate);
            return Continuation::Continue;
        }
        const Platform::Answer answer = windows.messageBox(
            UpdateMessages::updateTitle.toString(),
            UpdateMessages::newVersionBefore + text + UpdateMessages::newVersionAfter, Buttons::YesNo);
        if (answer != Platform::Answer::Yes)
            return Continuation::Continue;
        connection.send(UpdateMessages::downloadRequest.toUtf8());
    }
    // Also after the server closed without a reply: the download then fails at
    // its first receive and the user sees the transfer error.
    return downloadUpdate(session, connection);
}
