#pragma once

#include <QStringView>

#include <array>

// The constant record of one 3D application; every per-application rule of the
// program hangs on it.
struct ApplicationProfile
{
    QStringView name;
    int chooserNumber;
    QStringView sceneExtension;
    QStringView scenePattern;
    bool inScenesSubdirectory;
    QStringView archiveExtension;
    QStringView checklistFile;
};

// In the order in which the program tests them.
inline constexpr std::array<ApplicationProfile, 4> applicationProfiles{{
    {u"Maya", 21, u".mb", u"*.mb", true, u".vua", u"/Checklist_Maya.txt"},
    {u"Lightwave", 22, u".lws", u"*.lws", true, u".vul", u"/Checklist_Lightwave.txt"},
    {u"Cinema4D", 23, u".c4d", u"*.c4d", false, u".vuc", u"/Checklist_Cinema4D.txt"},
    {u"Terragen", 24, u".tgd", u"*.tgd", false, u".vut", u"/Checklist_Terragen.txt"},
}};

// nullptr when no profile has that name (the comparison is exact).
const ApplicationProfile *profileByName(QStringView name);
