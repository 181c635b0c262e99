#pragma once

#include <QStringView>

// Every name, switch and text of archive building and its log, in one place.
namespace ArchiveMessages {

struct Box
{
    QStringView title;
    QStringView text;
};

inline constexpr QStringView errorTitle = u"KORVObinder error";

inline constexpr Box compressionQuestion{u"Compression level", u"Maximum compression? (if No, maximum speed)"};
inline constexpr Box sevenZipMissing{
    errorTitle, u"7za has not been found in the KORVObinder directory!\nYou will have to compress the files manually."};
inline constexpr Box compressionFailed{errorTitle, u"An error occurred during the compression!"};

// Start header.
inline constexpr QStringView versionPrefix = u"KORVObinder v";
inline constexpr QStringView datePrefix = u"Date: ";
inline constexpr QStringView dateFormat = u"yyyy-MM-dd";
inline constexpr QStringView hourPrefix = u" - Hour: ";
inline constexpr QStringView hourFormat = u"hh:mm:ss";
inline constexpr QStringView gathering = u"KORVObinder is gathering all files in the project directory...";

// Compressing notice: the box asks for patience, the file does not.
inline constexpr QStringView compressingBox = u"KORVObinder is compressing the project (please wait)...";
inline constexpr QStringView compressingFile = u"KORVObinder is compressing the project...";

// Success report.
inline constexpr QStringView compressedPrefix = u"The project has been successfully compressed in ";
inline constexpr QStringView compressedSuffix = u" seconds.";
inline constexpr QStringView preparedBoxPrefix = u"Project prepared in ";
inline constexpr QStringView preparedFilePrefix = u"The project has been prepared in ";
inline constexpr QStringView preparedSuffix = u"/archive.";
inline constexpr QStringView projectNamePrefix = u"Project name: ";
inline constexpr QStringView archiveSizePrefix = u"Project archive size: ";
inline constexpr QStringView archiveSizeSuffix = u" MB";
inline constexpr QStringView readyToRender = u"Your project is now ready to render!";

// Failure report.
inline constexpr QStringView failureHeadline = u"An error occurred during the compression:";
inline constexpr QStringView failureNotPrepared = u"   the project HAS NOT BEEN prepared sucessfully!";

// Why 7za failed, written above what it printed on its error output.
inline constexpr QStringView sevenZipExitCode = u"7za ended with exit code %1:";
inline constexpr QStringView sevenZipStopped = u"7za was stopped before the end of the compression:";

// Names inside the base directory.
inline constexpr QStringView sevenZipFile = u"/7za";
inline constexpr QStringView scratchDirectory = u"/temp";
inline constexpr QStringView archiveDirectory = u"/archive";
inline constexpr QStringView logFile = u"/KORVObinder.log";
inline constexpr QStringView errorLogFile = u"/ERROR_KORVObinder.log";
// Every plain file directly inside the scratch directory ("*.*" stands for every entry).
inline constexpr QStringView scratchPattern = u"*.*";
// The name 7za writes under when maximum speed was chosen: it picks the zip format from it.
inline constexpr QStringView speedSuffix = u".zip";

// 7za's command and switches.
inline constexpr QStringView addCommand = u"a";
inline constexpr QStringView maximumLevelSwitch = u"-mx=5";
inline constexpr QStringView maximumSpeedSwitch = u"-mx1";
inline constexpr QStringView recurseSwitch = u"-r";

} // namespace ArchiveMessages
