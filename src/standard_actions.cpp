#include "standard_actions.h"

#include "links/web_actions.h"
#include "prepare/project_check.h"
#include "update/update_client.h"

#include "shell/session.h"

Actions standardActions()
{
    Actions actions;
    actions.prepareProject = ProjectCheck::prepareProject;
    actions.upload = WebActions::upload;
    actions.logo = WebActions::logo;
    actions.priceInfo = WebActions::priceInfo;
    actions.estimate = WebActions::estimate;
    actions.about = WebActions::about;
    actions.readHelp = WebActions::readHelp;
    actions.checkForUpdates = [](Session &session, int showUpToDate) {
        return CheckForUpdates(session, session.context.programVersion, showUpToDate);
    };
    return actions;
}
