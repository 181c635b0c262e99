#pragma once

#include <QStringView>

// Every title and text the shell shows, in one place.
namespace ShellMessages {

struct Box
{
    QStringView title;
    QStringView text;
};

struct Input
{
    QStringView title;
    QStringView prompt;
};

inline constexpr QStringView errorTitle = u"KORVObinder error";

inline constexpr Box welcome{u"Welcome to KORVObinder - First run",
                             u"               This is the first time you launch KORVObinder.\n"
                             u"You will be asked to provide some information to initialize the program.\n"
                             u"Please follow the instructions given in each requester title bar."};

inline constexpr Input loginInput{u"KORVO login", u"Please enter your KORVO login:"};
inline constexpr Input passwordInput{u"KORVO password", u"Please enter your KORVO password:"};

inline constexpr Box noLogin{errorTitle, u"You must enter a valid KORVO login! KORVObinder will now quit"};
inline constexpr Box noPassword{errorTitle, u"You must enter a valid KORVO password! KORVObinder will now quit"};
// Shown both when the first run and when the shutdown cannot create the settings file.
inline constexpr Box noFile{errorTitle, u"The initialisation file cannot be created! KORVObinder will now quit"};

inline constexpr Box modifyQuestion{
    u"Modify user info",
    u"Do you want to modify the login/password KORVObinder is using to access the KORVO web site?"};
inline constexpr Box updated{u"User info updated", u"Your KORVO login and password have been updated successfully."};
inline constexpr Box notUpdated{
    errorTitle, u"Could not write .ini file, your KORVO login and password have NOT been updated successfully!"};

inline constexpr QStringView programName = u"KORVObinder";
inline constexpr QStringView copyrightNotice = u"\u00A9 2026 KORVO Render Farm";

inline constexpr QStringView chooserTitle = u"Choose your application";

} // namespace ShellMessages
