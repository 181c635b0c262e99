#pragma once

#include "application_profile.h"
#include "platform/app_context.h"
#include "settings.h"

namespace Platform {
class DesktopOpener;
class WindowSystem;
} // namespace Platform

// Everything that lives for one run of the program: the app context, the
// platform services and the run-wide values the subsystems hand to each other.
struct Session
{
    Session(const Platform::AppContext &context, Platform::WindowSystem &windows, Platform::DesktopOpener &opener)
        : context(context)
        , windows(windows)
        , opener(opener)
    {
    }

    const Platform::AppContext context;
    Platform::WindowSystem &windows;
    Platform::DesktopOpener &opener;

    Settings settings;
    // None until the chooser has set it; then fixed for the run.
    const ApplicationProfile *application = nullptr;
    bool checklistShown = false;

    QString applicationName() const { return application ? application->name.toString() : QString(); }
};
