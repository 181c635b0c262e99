#pragma once

#include <QString>

struct Session;

// The LightWave rules checked before a LightWave project is packed: the radiosity
// cache directory named for the project's version, and the plug-in configuration
// file that matches its version and bitness when the project brings plug-ins.
namespace LightwaveRequirements {

// Asks for the version (and the bitness when plug-ins are present) and looks at
// the project directory; false, after the error box, when a rule is not met.
// Nothing on disk is changed.
bool check(Session &session, const QString &projectDirectory);

} // namespace LightwaveRequirements
