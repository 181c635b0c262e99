#pragma once

struct Session;

namespace ProjectCheck {

// The handler of "Prepare project": checklist, disclaimer, project directory and
// layout checks, then the scene name, the LightWave requirements and the archive.
void prepareProject(Session &session);

} // namespace ProjectCheck
