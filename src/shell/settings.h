#pragma once

#include <QString>

namespace Platform {
class WindowSystem;
}

struct Session;

// The five values kept from one run to the next.
struct Settings
{
    QString login;
    QString password;
    QString lastDirectory;
    QString checkForUpdates;
    QString updateServer;

    // The "Check for updates" question: Yes gives "Yes", No gives "No".
    void askUpdatePreference(Platform::WindowSystem &windows);
};

namespace SettingsFile {

QString path(const QString &baseDirectory);

// Reads the ten-line file and completes missing values (asking and saving);
// false when the file cannot be opened, leaving the settings unchanged.
bool load(Session &session);

// Writes the ten lines; false, writing nothing, when the file cannot be created.
bool save(const Session &session);

} // namespace SettingsFile
