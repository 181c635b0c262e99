#pragma once

#include <QByteArray>
#include <QString>

// A login or password stored as 40 bytes of UTF-16LE code units, Base64-encoded.
namespace CredentialBlock {

constexpr int Size = 40;

// The 56-character Base64 text of the block that carries `value`.
QString encode(const QString &value);

// Tolerant decoding of a value line back to the value.
QString decode(const QString &line);

} // namespace CredentialBlock
