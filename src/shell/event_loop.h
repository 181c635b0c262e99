#pragma once

#include "program.h"

struct Session;

// The program's only loop after start-up: hands every gadget event of the main
// window to its handler and returns on a close request (Continue: go on with
// the shutdown) or when a handler ends the program (EndProgram: end at once).
Continuation runEventLoop(Session &session, const Actions &actions);
