#include "files.h"

#include <QFile>
#include <QStorageInfo>

namespace Platform::Files {

BinaryFileWriter::BinaryFileWriter() = default;
BinaryFileWriter::~BinaryFileWriter() = default;

bool BinaryFileWriter::create(const QString &path)
{
    m_file = std::make_unique<QFile>(path);
    m_sound = m_file->open(QIODevice::WriteOnly | QIODevice::Truncate);
    return m_sound;
}

bool BinaryFileWriter::isOpen() const
{
    return m_file && m_file->isOpen();
}

void BinaryFileWriter::write(const char *bytes, qint64 count)
{
    if (m_sound && count > 0)
        m_sound = m_file->write(bytes, count) == count;
}

bool BinaryFileWriter::finish()
{
    if (!isOpen())
        return false;
    m_sound = m_sound && m_file->flush();
    m_file->close();
    return m_sound;
}

qint64 freeSpace(const QString &directory)
{
    const QStorageInfo storage(directory);
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

} // namespace Platform::Files
