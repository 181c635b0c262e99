#pragma once

#include <QString>
#include <QStringView>

struct ApplicationProfile;
struct Session;

// Brings the scene file's name into the form the farm accepts: no blank, one
// dot, a base of at most `maximumBaseLength` characters. Lengths count UTF-16
// code units.
namespace SceneName {

inline constexpr qsizetype maximumBaseLength = 20;

// The name with every " (gathered)" removed (Terragen only).
QString withoutGatheredText(const QString &name);
// Every blank (U+0020 only) replaced by "_".
QString withUnderscores(const QString &name);
// Every occurrence of `extension` removed ignoring case, the other dots turned
// into "_", and `extension` appended.
QString withoutExtraDots(const QString &name, QStringView extension);
// The first characters of the name followed by `extension` when the base is too
// long; empty when it is short enough.
QString shortened(const QString &name, QStringView extension);

// Renames the scene file in its folder step by step and tells the user what was
// done. `sceneName` follows the renames of the first three steps; the shortening
// asks first and leaves `sceneName` as it is. A rename is never made over an
// existing file, and a rename that cannot be made is reported; both stop the
// preparation, as does declining the shortening: false then.
bool normalise(Session &session, const QString &projectDirectory, const ApplicationProfile &profile,
               QString &sceneName);

} // namespace SceneName
