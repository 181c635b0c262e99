#include "desktop_opener.h"

#include "process.h"

namespace Platform {

void SystemDesktopOpener::open(const QString &target)
{
#if defined(Q_OS_MACOS)
    const QString opener = QStringLiteral("open");
#else
    const QString opener = QStringLiteral("xdg-open");
#endif
    startDetached(opener, {target});
}

} // namespace Platform
