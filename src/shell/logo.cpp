#include "logo.h"

#include "platform/window_system.h"

#include <QFile>
#include <QtEndian>

namespace {

const QByteArray pngSignature = QByteArrayLiteral("\x89PNG\r\n\x1a\n");

// The header chunk follows the signature: its length (4 bytes), "IHDR", then
// the width and the height as big-endian 32-bit numbers.
constexpr qsizetype headerChunkType = 12;
constexpr qsizetype widthOffset = 16;
constexpr qsizetype heightOffset = 20;
constexpr qsizetype minimumLength = 24;

} // namespace

QByteArray embeddedLogo()
{
    QFile file(QStringLiteral(":/korvobinder/logo.png"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QSize pngSize(const QByteArray &png)
{
    if (png.size() < minimumLength || !png.startsWith(pngSignature) ||
        png.mid(headerChunkType, 4) != QByteArrayLiteral("IHDR"))
        return {};
    const quint32 width = qFromBigEndian<quint32>(png.constData() + widthOffset);
    const quint32 height = qFromBigEndian<quint32>(png.constData() + heightOffset);
    if (width > quint32(std::numeric_limits<int>::max()) || height > quint32(std::numeric_limits<int>::max()))
        return {};
    return QSize(int(width), int(height));
}

Logo decodeLogo(Platform::WindowSystem &windows, const QByteArray &png)
{
    Logo logo;
    logo.image = windows.decodeImage(png);
    if (logo.image != 0)
        logo.size = pngSize(png);
    return logo;
}
