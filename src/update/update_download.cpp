#include "update_download.h"

#include "platform/desktop_opener.h"
#include "platform/tcp_client.h"
#include "platform/window_system.h"
#include "receive_file.h"
#include "shell/main_window.h"
#include "shell/session.h"
#include "status_window.h"
#include "update_messages.h"

using Platform::Buttons;

Continuation downloadUpdate(Session &session, Platform::TcpClient &connection)
{
    Platform::WindowSystem &windows = session.windows;
    const QString base = session.context.baseDirectory;

    openStatusWindow(windows, Window::UpdateDownloading, UpdateMessages::downloadingWindowTitle);
    const int received = ReceiveFile(connection, base + UpdateMessages::updateArchive,
                                     session.context.updateLimits.transferStallMilliseconds);
    windows.closeWindow(Window::UpdateDownloading);

    if (received != 1) {
        windows.messageBox(UpdateMessages::transferError.title.toString(),
                           UpdateMessages::transferError.text.toString(), Buttons::Ok);
        return Continuation::Continue;
    }
    windows.messageBox(UpdateMessages::updateTitle.toString(),
                       UpdateMessages::downloadedBefore + base + UpdateMessages::downloadedAfter, Buttons::Ok);
    session.opener.open(base);
    connection.close();
    return Continuation::EndProgram;
}
