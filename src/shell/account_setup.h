#pragma once

struct Session;

// The farm account and the update choice: collected on the very first start
// and changed later through the "Config" button.
namespace AccountSetup {

// Welcome, login, password, update question, then the settings file is
// written. False when the program must end: no login, no password or no
// settings file (the user has been told; nothing was written).
bool firstRun(Session &session);

// The "Config" button: the update question, then optionally a new login and password.
void configure(Session &session);

} // namespace AccountSetup
