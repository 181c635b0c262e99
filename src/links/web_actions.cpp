#include "web_actions.h"

#include "links_messages.h"
#include "platform/desktop_opener.h"
#include "platform/files.h"
#include "platform/window_system.h"
#include "shell/session.h"
#include "web_pages.h"

namespace WebActions {

namespace {

// Reads the application and the account at the moment of the press; an
// application without pages (none chosen) opens nothing.
void openPage(Session &session, WebPages::Control control)
{
    const WebPages::Page *page = WebPages::find(session.applicationName(), control);
    if (!page)
        return;
    session.opener.open(
        WebPages::address(*page, session.context.webHost, session.settings.login, session.settings.password));
}

QString aboutText(const Platform::AppContext &context)
{
    return LinksMessages::aboutNameIndent + LinksMessages::aboutName + context.programVersion + u'\n' +
           LinksMessages::copyrightLine + u'\n' + LinksMessages::aboutHostIndent + context.webHost;
}

} // namespace

void upload(Session &session)
{
    openPage(session, WebPages::Control::Upload);
}

void logo(Session &session)
{
    openPage(session, WebPages::Control::Logo);
}

void priceInfo(Session &session)
{
    openPage(session, WebPages::Control::PriceInfo);
}

void estimate(Session &session)
{
    openPage(session, WebPages::Control::Estimate);
}

void about(Session &session)
{
    session.windows.messageBox(LinksMessages::aboutTitle.toString(), aboutText(session.context), Platform::Buttons::Ok);
}

// The guide does not depend on the application, so it opens also before one is chosen.
void readHelp(Session &session)
{
    const QString guide = session.context.baseDirectory + LinksMessages::guideFile;
    if (Platform::Files::fileSize(guide) > 0) {
        session.opener.open(guide);
        return;
    }
    session.windows.messageBox(LinksMessages::errorTitle.toString(), LinksMessages::guideMissing.toString(),
                               Platform::Buttons::Ok);
}

} // namespace WebActions
