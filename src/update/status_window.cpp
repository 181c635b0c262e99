#include "status_window.h"

#include "platform/window_system.h"

void openStatusWindow(Platform::WindowSystem &windows, int number, QStringView title)
{
    Platform::WindowSpec spec;
    spec.number = number;
    spec.title = title.toString();
    spec.contentSize = QSize(340, 50);
    spec.closeButton = false;
    spec.placement = Platform::Placement::CentredOnScreen;
    windows.openWindow(spec);
    windows.processPendingEvents();
}
