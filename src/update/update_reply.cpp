#include "update_reply.h"

#include "prepare/text_helpers.h"

#include <cstring>

QString replyText(const char *buffer, qint64 received)
{
    if (received <= 0)
        return {};
    const void *zero = std::memchr(buffer, 0, size_t(received));
    const qint64 length = zero ? static_cast<const char *>(zero) - buffer : received;
    return QString::fromUtf8(buffer, length);
}

QString serverVersion(const QString &reply)
{
    return TextAfter(reply, QStringLiteral("-"));
}
