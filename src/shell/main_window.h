#pragma once

#include <QSize>

namespace Platform {
class WindowSystem;
}

struct Session;

// Window numbers of the program.
namespace Window {
constexpr int Main = 0;
constexpr int Chooser = 1;
constexpr int UpdateConnecting = 3;
constexpr int UpdateDownloading = 4;
} // namespace Window

// Gadget numbers of the main window; the event loop dispatches on them.
namespace Gadget {
constexpr int Logo = 0;
constexpr int ProgressBar = 3;
constexpr int Upload = 4;
constexpr int PrepareProject = 5;
constexpr int Estimate = 7;
constexpr int PriceInfo = 8;
constexpr int About = 9;
constexpr int ReadHelp = 10;
constexpr int Config = 11;
constexpr int Updates = 12;
constexpr int LogBox = 20;
} // namespace Gadget

namespace MainWindow {

constexpr int ProgressMaximum = 60;

// Opens window 0 and creates its gadgets in their fixed order; false when the
// window cannot be opened. `logoImage` is 0 when the logo could not be decoded;
// the logo gadget then keeps its tabled size, otherwise it takes `logoSize`
// plus a 2-point border on each side.
bool open(Session &session, int logoImage, QSize logoSize);

// Disables (enables) the gadgets 4 to 11 except `keptButton` and 6.
void setBusy(Platform::WindowSystem &windows, int keptButton);
void clearBusy(Platform::WindowSystem &windows, int keptButton);

} // namespace MainWindow
