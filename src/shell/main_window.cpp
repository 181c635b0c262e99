#include "main_window.h"

#include "platform/window_system.h"
#include "session.h"
#include "shell_messages.h"

#include <QRect>
#include <array>

namespace MainWindow {

namespace {

constexpr QSize contentSize(440, 640);

constexpr QPoint logoPosition(10, 2);
constexpr QSize logoTabledSize(403, 89);
// The thin frame around the logo: 2 points on each side.
constexpr int logoBorder = 2;

constexpr QRect logBoxGeometry(3, 97, 436, 472);
constexpr quint32 logBoxBackground = 0xFFFFFF;
constexpr quint32 logBoxText = 0x000000;

constexpr QRect progressBarGeometry(4, 610, 439, 28);

struct ButtonSpec
{
    int gadget;
    QRect geometry;
    QStringView caption;
};

// In the order in which they are created.
constexpr std::array<ButtonSpec, 8> buttons{{
    {Gadget::PrepareProject, QRect(6, 572, 136, 18), u"Prepare project"},
    {Gadget::Estimate, QRect(151, 572, 136, 18), u"Estimate"},
    {Gadget::Upload, QRect(296, 572, 132, 18), u"Upload"},
    {Gadget::PriceInfo, QRect(6, 594, 76, 18), u"Price info"},
    {Gadget::Config, QRect(90, 594, 70, 18), u"Config"},
    {Gadget::ReadHelp, QRect(170, 594, 128, 18), u"Read Help"},
    {Gadget::About, QRect(306, 594, 56, 18), u"About"},
    {Gadget::Updates, QRect(370, 594, 66, 18), u"Updates"},
}};

// The busy range; 6 has never been a gadget.
constexpr int busyFirst = 4;
constexpr int busyLast = 11;
constexpr int noGadget = 6;

QString windowTitle(const Session &session)
{
    return ShellMessages::programName + u' ' + session.context.programVersion + QStringLiteral(" - ") +
           ShellMessages::copyrightNotice;
}

QRect logoGeometry(int logoImage, QSize logoSize)
{
    if (logoImage == 0 || logoSize.isEmpty())
        return QRect(logoPosition, logoTabledSize);
    return QRect(logoPosition, logoSize.grownBy(QMargins(logoBorder, logoBorder, logoBorder, logoBorder)));
}

void switchBusyRange(Platform::WindowSystem &windows, int keptButton, bool enabled)
{
    for (int gadget = busyFirst; gadget <= busyLast; ++gadget) {
        if (gadget != keptButton && gadget != noGadget)
            windows.setGadgetEnabled(gadget, enabled);
    }
}

} // namespace

bool open(Session &session, int logoImage, QSize logoSize)
{
    Platform::WindowSystem &windows = session.windows;

    Platform::WindowLayout layout;
    layout.number = Window::Main;
    layout.title = windowTitle(session);
    layout.contentSize = contentSize;
    layout.closeButton = true;
    layout.placement = Platform::Placement::CentredOnScreen;
    if (!windows.openWindow(layout))
        return false;

    windows.addImage(Window::Main, Gadget::Logo, logoGeometry(logoImage, logoSize), logoImage);
    windows.addTextBox(Window::Main, Gadget::LogBox, logBoxGeometry, logBoxBackground, logBoxText);
    windows.addProgressBar(Window::Main, Gadget::ProgressBar, progressBarGeometry, 0, ProgressMaximum);
    for (const ButtonSpec &button : buttons)
        windows.addButton(Window::Main, button.gadget, button.geometry, button.caption.toString());
    return true;
}

void setBusy(Platform::WindowSystem &windows, int keptButton)
{
    switchBusyRange(windows, keptButton, false);
}

void clearBusy(Platform::WindowSystem &windows, int keptButton)
{
    switchBusyRange(windows, keptButton, true);
}

} // namespace MainWindow
