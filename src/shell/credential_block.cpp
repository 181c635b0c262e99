#include "credential_block.h"

namespace CredentialBlock {

namespace {

constexpr int MaximumCodeUnits = Size / 2;

// The Base64 digit of a character. "-" and "_" stand for "+" and "/"; any other
// character outside the alphabet counts as 0, as older files may hold them.
int digitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'A' && u <= u'Z')
        return u - u'A';
    if (u >= u'a' && u <= u'z')
        return u - u'a' + 26;
    if (u >= u'0' && u <= u'9')
        return u - u'0' + 52;
    if (u == u'+' || u == u'-')
        return 62;
    if (u == u'/' || u == u'_')
        return 63;
    return 0;
}

QByteArray decodeBase64(const QString &line)
{
    QByteArray bytes;
    qsizetype i = 0;
    while (i < line.size() && bytes.size() < Size) {
        if (line.at(i) == u'\t') {
            ++i;
            continue;
        }
        // One group of up to four characters; "=" pads it and ends the data.
        quint32 bits = 0;
        int digits = 0;
        bool padded = false;
        for (int k = 0; k < 4; ++k) {
            if (i < line.size() && line.at(i) == u'=')
                padded = true;
            if (!padded && i < line.size()) {
                bits |= quint32(digitValue(line.at(i))) << (18 - 6 * k);
                ++digits;
            }
            if (i < line.size())
                ++i;
        }
        const int produced = qMax(0, digits - 1);
        for (int b = 0; b < produced && bytes.size() < Size; ++b)
            bytes.append(char((bits >> (16 - 8 * b)) & 0xFF));
        if (padded || digits < 4)
            break;
    }
    return bytes;
}

} // namespace

QString encode(const QString &value)
{
    QByteArray block(Size, '\0');
    const qsizetype units = qMin<qsizetype>(value.size(), MaximumCodeUnits);
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t unit = value.at(i).unicode();
        block[2 * i] = char(unit & 0xFF);
        block[2 * i + 1] = char(unit >> 8);
    }
    return QString::fromLatin1(block.toBase64());
}

QString decode(const QString &line)
{
    const QByteArray bytes = decodeBase64(line);
    QString value;
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const char16_t low = quint8(bytes.at(i));
        const char16_t high = i + 1 < bytes.size() ? quint8(bytes.at(i + 1)) : 0;
        const char16_t unit = char16_t(low | (high << 8));
        if (unit == 0)
            break;
        value.append(QChar(unit));
    }
    return value;
}

} // namespace CredentialBlock
