#pragma once

#include <QStringView>

namespace Platform {
class WindowSystem;
}

// Opens one of the update client's status windows (340 x 50, centred on the
// screen, no controls in its title bar, no gadgets) and lets it paint once,
// since the thread is held by the network from then on.
void openStatusWindow(Platform::WindowSystem &windows, int number, QStringView title);
