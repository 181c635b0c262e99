#include "event_loop.h"

#include "account_setup.h"
#include "main_window.h"
#include "platform/window_system.h"
#include "session.h"

namespace {

void run(const std::function<void(Session &)> &handler, Session &session)
{
    if (handler)
        handler(session);
}

Continuation checkForUpdates(const Actions &actions, Session &session)
{
    constexpr int showUpToDate = 1;
    return actions.checkForUpdates ? actions.checkForUpdates(session, showUpToDate) : Continuation::Continue;
}

// The numbers are tested in this order. Numbers not listed (the log box,
// the progress bar) are ignored.
Continuation dispatch(Session &session, const Actions &actions, const Platform::Event &event)
{
    switch (event.gadget) {
    case Gadget::PrepareProject:
        run(actions.prepareProject, session);
        break;
    case Gadget::Upload:
        run(actions.upload, session);
        break;
    case Gadget::Logo:
        // Only a plain left click: not with Control, not the second click of a
        // double click, not the right button.
        if (event.click == Platform::ClickKind::Plain)
            run(actions.logo, session);
        break;
    case Gadget::PriceInfo:
        run(actions.priceInfo, session);
        break;
    case Gadget::Estimate:
        run(actions.estimate, session);
        break;
    case Gadget::About:
        run(actions.about, session);
        break;
    case Gadget::ReadHelp:
        run(actions.readHelp, session);
        break;
    case Gadget::Config:
        AccountSetup::configure(session);
        break;
    case Gadget::Updates:
        return checkForUpdates(actions, session);
    default:
        break;
    }
    return Continuation::Continue;
}

} // namespace

Continuation runEventLoop(Session &session, const Actions &actions)
{
    for (;;) {
        const Platform::Event event = session.windows.waitEvent();
        switch (event.kind) {
        case Platform::EventKind::Gadget:
            if (dispatch(session, actions, event) == Continuation::EndProgram)
                return Continuation::EndProgram;
            break;
        case Platform::EventKind::CloseRequest:
            return Continuation::Continue;
        case Platform::EventKind::Menu:
        case Platform::EventKind::Other:
            // The application menu's Quit arrives here and is refused.
            break;
        }
    }
}
