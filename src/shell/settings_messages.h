#pragma once

#include <QString>

// The texts of the settings file and its update question.
namespace SettingsText {

inline const QString fileName = QStringLiteral("/KORVObinder.ini");

inline const QString loginComment = QStringLiteral(";KORVO login (crypted - do not modify)");
inline const QString passwordComment = QStringLiteral(";KORVO password (crypted - do not modify)");
inline const QString lastDirectoryComment = QStringLiteral(";Last directory from previous session");
inline const QString checkForUpdatesComment = QStringLiteral(";Check for updates?");
inline const QString updateServerComment = QStringLiteral(";Update server");

inline const QString yes = QStringLiteral("Yes");
inline const QString no = QStringLiteral("No");

inline const QString updateQuestionTitle = QStringLiteral("Check for updates");
inline const QString updateQuestionText =
    QStringLiteral("Do you want KORVObinder to check for updates automatically (highly recommended)?");

} // namespace SettingsText
