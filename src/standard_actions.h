#pragma once

#include "shell/program.h"

// The event loop's handlers, wired to the subsystems that implement them.
Actions standardActions();
