#pragma once

#include <QStringView>

// Every title and text the web and help actions show, and the guide's name.
namespace LinksMessages {

inline constexpr QStringView aboutTitle = u"About KORVObinder";
// The About text: this indent, the name and the version; the copyright line;
// the second indent and the bare web host.
inline constexpr QStringView aboutNameIndent = u"                    ";
inline constexpr QStringView aboutName = u"KORVObinder ";
inline constexpr QStringView copyrightLine = u"\u00A9 2026 KORVO Render Farm. All rights reserved.";
inline constexpr QStringView aboutHostIndent = u"               ";

// Appended to the base directory.
inline constexpr QStringView guideFile = u"/KORVObinder_Mac.pdf";

inline constexpr QStringView errorTitle = u"KORVObinder error";
inline constexpr QStringView guideMissing = u"The KORVObinder_Mac.pdf file cannot be found!";

} // namespace LinksMessages
