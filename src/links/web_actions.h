#pragma once

struct Session;

// The farm's web pages for the current application, the user guide and the About box.
namespace WebActions {

void upload(Session &session);
void logo(Session &session);
void priceInfo(Session &session);
void estimate(Session &session);
void about(Session &session);
void readHelp(Session &session);

} // namespace WebActions
