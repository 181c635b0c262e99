#pragma once

#include <QString>

// The yardstick for ReceiveFile: the same framed stream read with plain
// system receives of 1024 bytes and written with the C library, nothing else.
namespace PlainReader {

// Connects, sends the greeting and the request as the update check does, and
// receives the file into `path`. Returns the file bytes received, -1 on failure.
qint64 download(quint16 port, const QString &path, qint64 &transferNanoseconds);

} // namespace PlainReader
