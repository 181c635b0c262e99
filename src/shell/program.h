#pragma once

#include <functional>

struct Session;

// Whether the program goes on after an action or must end at once (a
// completed update download ends it without saving the settings).
enum class Continuation
{
    Continue,
    EndProgram,
};

// The handlers that the event loop dispatches to; the other subsystems fill
// them in, so the shell does not depend on them.
struct Actions
{
    std::function<void(Session &)> prepareProject;
    std::function<void(Session &)> upload;
    std::function<void(Session &)> logo;
    std::function<void(Session &)> priceInfo;
    std::function<void(Session &)> estimate;
    std::function<void(Session &)> about;
    std::function<void(Session &)> readHelp;
    std::function<Continuation(Session &, int showUpToDate)> checkForUpdates;
};

// Start-up, the application choice, the event loop and the shutdown. Returns
// the exit status of the program (always 0).
int runProgram(Session &session, const Actions &actions);
