#include "version_compare.h"

#include <algorithm>

bool versionIsOlder(const QString &own, const QString &server)
{
    const qsizetype common = std::min(own.size(), server.size());
    for (qsizetype i = 0; i < common; ++i) {
        const auto a = qint16(own.at(i).unicode());
        const auto b = qint16(server.at(i).unicode());
        if (a != b)
            return a < b;
    }
    return own.size() < server.size();
}
