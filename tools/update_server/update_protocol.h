#pragma once

#include <QByteArray>

// The texts the reference server listens for and the bytes it adds in the
// surplus mode; kept apart from the client's own table so that the tests
// compare two independent spellings of the protocol.
namespace ReferenceUpdateServer::Protocol {

// The client's greeting is "KORVObinder v" + version + greetingEnd.
inline const QByteArray greetingEnd = QByteArrayLiteral(" / Mac ");
constexpr qsizetype longestGreeting = 1000;
inline const QByteArray downloadRequest = QByteArrayLiteral("KORVObinder-update   (Mac)");
inline const QByteArray surplusBytes = QByteArrayLiteral("SURPLUS");

} // namespace ReferenceUpdateServer::Protocol
