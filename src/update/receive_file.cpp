#include "receive_file.h"

#include "platform/files.h"
#include "platform/tcp_client.h"
#include "update_messages.h"

#include <QtEndian>

namespace {

constexpr qint64 blockSize = 1024;
constexpr qint64 lengthSize = 8;

// The folder part of a path built by plain concatenation.
QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(u'/') + 1);
}

} // namespace

int ReceiveFile(Platform::TcpClient &connection, const QString &path, int stallMilliseconds)
{
    char block[blockSize];

    // The length may arrive in pieces: read on until all of its bytes are there.
    qint64 filled = 0;
    while (filled < lengthSize) {
        const qint64 count = connection.receive(block + filled, blockSize - filled, stallMilliseconds);
        if (count <= 0)
            return 0;
        filled += count;
    }
    const auto announced = qFromLittleEndian<qint64>(block);
    if (announced <= 0)
        return 0;
    const qint64 freeSpace = Platform::Files::freeSpace(folderOf(path));
    if (freeSpace >= 0 && announced > freeSpace)
        return 0;

    const QString partialPath = path + UpdateMessages::partialSuffix;
    Platform::Files::BinaryFileWriter file;
    file.create(partialPath);
    qint64 received = filled - lengthSize;
    file.write(block + lengthSize, received);

    // Each receive asks for a full block whatever remains, so bytes sent after
    // the file show up in the count and fail the transfer.
    qint64 last = 0;
    while (received < announced && last >= 0) {
        last = connection.receive(block, blockSize, stallMilliseconds);
        if (last == 0)
            break;
        if (last > 0) {
            file.write(block, last);
            received += last;
        }
    }

    // Without a file the transfer has still been read to its end, and fails.
    if (!file.isOpen())
        return 0;
    const bool stored = file.finish();
    if (stored && received == announced && Platform::Files::renameFile(partialPath, path))
        return 1;
    Platform::Files::deleteFile(partialPath);
    return 0;
}
