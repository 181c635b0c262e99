#pragma once

#include <QString>

namespace Platform {
class TcpClient;
}

// Receives one file framed as an 8-byte little-endian signed length L and then
// L bytes, in receives of at most 1024 bytes streamed to disk. The bytes grow
// in `path` + ".part", which takes the name `path` (replacing an older file)
// only when exactly L bytes came; on any failure only that partial file is
// deleted. Fails at once when L is not positive or exceeds the free space of
// the volume of `path`, and when no byte arrives for `stallMilliseconds`.
// Returns 1 when the file now lies complete at `path`, 0 otherwise.
int ReceiveFile(Platform::TcpClient &connection, const QString &path, int stallMilliseconds);
