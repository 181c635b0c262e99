#include "application_chooser.h"

#include "application_profile.h"
#include "main_window.h"
#include "platform/window_system.h"
#include "session.h"
#include "shell_messages.h"

#include <QRect>

namespace ApplicationChooser {

namespace {

constexpr QSize contentSize(367, 60);
// Where the chooser opens when no window is active to centre it over.
constexpr QPoint fallbackPosition(222, 258);

// The one application offered; the other profiles have no button.
constexpr int offeredProfile = 22;
constexpr QRect offeredButtonGeometry(95, 10, 170, 40);
constexpr QStringView offeredButtonCaption = u"LIGHTWAVE";

const ApplicationProfile *profileForGadget(int gadget)
{
    for (const ApplicationProfile &profile : applicationProfiles) {
        if (profile.chooserNumber == gadget)
            return &profile;
    }
    return nullptr;
}

} // namespace

Continuation choose(Session &session)
{
    Platform::WindowSystem &windows = session.windows;

    Platform::WindowLayout layout;
    layout.number = Window::Chooser;
    layout.title = ShellMessages::chooserTitle.toString();
    layout.contentSize = contentSize;
    layout.closeButton = true;
    layout.placement = Platform::Placement::CentredOverActiveWindow;
    layout.fallbackPosition = fallbackPosition;
    if (!windows.openWindow(layout))
        return Continuation::Continue;

    windows.addButton(Window::Chooser, offeredProfile, offeredButtonGeometry, offeredButtonCaption.toString(), true);
    session.application = nullptr;

    // Every other event, the main window's buttons included, is read and lost.
    bool closeRequested = false;
    while (!session.application && !closeRequested) {
        const Platform::Event event = windows.waitEvent();
        if (event.kind == Platform::EventKind::Gadget)
            session.application = profileForGadget(event.gadget);
        closeRequested = event.kind == Platform::EventKind::CloseRequest;
    }

    windows.closeWindow(Window::Chooser);
    return closeRequested ? Continuation::EndProgram : Continuation::Continue;
}

} // namespace ApplicationChooser
