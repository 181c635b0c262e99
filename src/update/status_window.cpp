#include "status_window.h"

#include "platform/window_system.h"

void openStatusWindow(Platform::WindowSystem &windows, int number, QStringView title)
{
    Platform::WindowLayout layout;
    layout.number = number;
    layout.title = title.toString();
    layout.contentSize = QSize(340, 50);
    layout.closeButton = false;
    layout.placement = Platform::Placement::CentredOnScreen;
    windows.openWindow(layout);
    windows.processPendingEvents();
}
