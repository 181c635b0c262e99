#pragma once

#include <QString>

struct ApplicationProfile;
struct Session;

namespace ArchiveBuilder {

// Packs the checked project into baseDirectory/archive with 7za and reports the
// outcome through the preparation log.
void buildArchive(Session &session, const QString &projectDirectory, const QString &sceneName,
                  const ApplicationProfile &profile);

} // namespace ArchiveBuilder
