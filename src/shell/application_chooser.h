#pragma once

#include "program.h"

struct Session;

// The small window in which the user picks the 3D application once per run.
namespace ApplicationChooser {

// Sets the current application from the chosen button. EndProgram when a
// close request (from any window) came instead of a choice: the program must
// then end at once without saving. Continue otherwise, also when the chooser
// could not be opened and nothing was chosen.
Continuation choose(Session &session);

} // namespace ApplicationChooser
