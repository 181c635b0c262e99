#pragma once

#include <QByteArray>
#include <QSize>

namespace Platform {
class WindowSystem;
}

// The logo embedded in the program, decoded once at start-up.
struct Logo
{
    // 0 when the logo could not be decoded; the logo gadget then stays empty.
    int image = 0;
    QSize size;
};

Logo decodeLogo(Platform::WindowSystem &windows, const QByteArray &png);

// The embedded logo's bytes.
QByteArray embeddedLogo();

// Width and height from a PNG's header chunk; an empty size when the bytes do not start like a PNG.
QSize pngSize(const QByteArray &png);
