#pragma once

#include <QStringView>

// Every title, text, window title, file name and wire text of the update
// client, in one place.
namespace UpdateMessages {

struct Box
{
    QStringView title;
    QStringView text;
};

inline constexpr QStringView updateTitle = u"KORVObinder update";

inline constexpr Box networkError{u"Error", u"Can't initialize the network !"};
inline constexpr Box notAvailable{updateTitle, u"The KORVO update server is currently not available."};
inline constexpr Box upToDate{updateTitle, u"Your KORVObinder version is up to date."};
inline constexpr Box transferError{updateTitle, u"An error has occurred during the transfer!"};

// The newer-version question: these two around the whole reply text.
inline constexpr QStringView newVersionBefore = u"New KORVObinder version detected: v";
inline constexpr QStringView newVersionAfter = u"\nDo you want to download the new version?";

// The success box names the base directory between these two.
inline constexpr QStringView downloadedBefore = u"The new version has been downloaded in ";
inline constexpr QStringView downloadedAfter = u".\nUncompress the .zip archive to update your version.";

inline constexpr QStringView connectingWindowTitle = u"Connecting to KORVOUpdateServer...";
inline constexpr QStringView downloadingWindowTitle = u"Downloading update...";

// Sent as UTF-8, exactly these bytes: no terminating zero, no line end.
inline constexpr QStringView greetingBefore = u"KORVObinder v";
inline constexpr QStringView greetingAfter = u" / Mac ";
inline constexpr QStringView downloadRequest = u"KORVObinder-update   (Mac)";

// Directly in the base directory.
inline constexpr QStringView localServerMarker = u"/KorvoLocalbox.txt";
inline constexpr QStringView updateArchive = u"/KORVObinder_Mac.zip";
// The download grows under this name beside the archive and takes the
// archive's name only when it is complete.
inline constexpr QStringView partialSuffix = u".part";

} // namespace UpdateMessages
