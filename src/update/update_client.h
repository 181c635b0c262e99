#pragma once

#include "shell/program.h"

#include <QString>

struct Session;

// Asks the update server whether a newer version exists and, when the user
// agrees, downloads it. EndProgram after a completed download.
Continuation CheckForUpdates(Session &session, const QString &version, int showUpToDate);
