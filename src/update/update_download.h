#pragma once

#include "shell/program.h"

namespace Platform {
class TcpClient;
}

struct Session;

// The download after the request has been sent: window 4 while the file is
// received into the base directory. On success the success box, the base
// directory shown by the desktop opener, the connection closed and
// EndProgram; on failure the transfer-error box and Continue.
Continuation downloadUpdate(Session &session, Platform::TcpClient &connection);
