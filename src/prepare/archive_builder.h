#pragma once

#include <QString>

struct ApplicationProfile;
struct Session;

namespace ArchiveBuilder {

// The scene name without its extension (wherever it occurs, case ignored), blanks
// and dots as "_", cut to its first 20 UTF-16 code units.
QString archiveBaseName(const QString &sceneName, QStringView sceneExtension);

// baseDirectory/archive/<base name><archive extension of the profile>.
QString archivePath(const QString &baseDirectory, const QString &sceneName, const ApplicationProfile &profile);

// Packs the checked project into baseDirectory/archive with 7za and reports the
// outcome through the preparation log.
void buildArchive(Session &session, const QString &projectDirectory, const QString &sceneName,
                  const ApplicationProfile &profile);

} // namespace ArchiveBuilder
