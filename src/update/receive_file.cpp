#include "receive_file.h"

#include "platform/files.h"
#include "platform/tcp_client.h"
#include "update_messages.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QtEndian>

namespace {

constexpr qint64 blockSize = 1024;
constexpr qint64 lengthSize = 8;

// -1 when the volume cannot be examined; the file creation then decides.
qint64 freeSpaceBeside(const QString &path)
{
    const QStorageInfo storage(QFileInfo(path).absolutePath());
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

// Appends to the file while every write so far has succeeded; a disk that
// fills up mid-way must not let a truncated archive pass as complete.
class PartialFile
{
public:
    explicit PartialFile(const QString &path)
        : m_file(path)
    {
        m_sound = m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    }

    bool isOpen() const { return m_file.isOpen(); }

    void append(const char *bytes, qint64 count)
    {
        if (m_sound && count > 0)
            m_sound = m_file.write(bytes, count) == count;
    }

    // Closes the file; true when everything reached it.
    bool finish()
    {
        m_sound = m_sound && m_file.flush();
        m_file.close();
        return m_sound;
    }

private:
    QFile m_file;
    bool m_sound = false;
};

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
    const qint64 freeSpace = freeSpaceBeside(path);
    if (freeSpace >= 0 && announced > freeSpace)
        return 0;

    const QString partialPath = path + UpdateMessages::partialSuffix;
    PartialFile file(partialPath);
    qint64 received = filled - lengthSize;
    file.append(block + lengthSize, received);

    // Each receive asks for a full block whatever remains, so bytes sent after
    // the file show up in the count and fail the transfer.
    qint64 last = 0;
    while (received < announced && last >= 0) {
        last = connection.receive(block, blockSize, stallMilliseconds);
        if (last == 0)
            break;
        if (last > 0) {
            file.append(block, last);
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
