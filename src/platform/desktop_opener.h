#pragma once

#include <QString>

namespace Platform {

// Shows a URL in the browser, a folder in the file manager or a file in its
// default application. Started detached; the outcome is never looked at.
class DesktopOpener
{
public:
    virtual ~DesktopOpener() = default;
    // The target always reaches the opener as one argument, whatever it holds.
    virtual void open(const QString &target) = 0;
};

// `open` on macOS, `xdg-open` elsewhere.
class SystemDesktopOpener : public DesktopOpener
{
public:
    void open(const QString &target) override;
};

} // namespace Platform
