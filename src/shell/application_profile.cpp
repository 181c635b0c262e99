#include "application_profile.h"

const ApplicationProfile *profileByName(QStringView name)
{
    for (const ApplicationProfile &profile : applicationProfiles) {
        if (profile.name == name)
            return &profile;
    }
    return nullptr;
}
