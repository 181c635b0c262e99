#include "files.h"

#include <QFile>
#include <QSaveFile>
#include <sys/stat.h>

// Whole text files: read at once and split at any line end, written in UTF-8
// with line feeds.
namespace Platform::Files {

bool TextFileReader::open(const QString &path)
{
    m_data.clear();
    m_position = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    m_data = file.readAll();
    return true;
}

bool TextFileReader::atEnd() const
{
    return m_position >= m_data.size();
}

QString TextFileReader::readLine()
{
    const qsizetype start = m_position;
    qsizetype end = start;
    while (end < m_data.size() && m_data[end] != '\n' && m_data[end] != '\r' && m_data[end] != '\0')
        ++end;
    m_position = end;
    if (end < m_data.size()) {
        const bool pair = m_data[end] == '\r' && end + 1 < m_data.size() && m_data[end + 1] == '\n';
        m_position += pair ? 2 : 1;
    }
    return QString::fromUtf8(m_data.constData() + start, end - start);
}

struct TextFileWriter::Impl
{
    QFile file;
};

TextFileWriter::~TextFileWriter()
{
    close();
}

bool TextFileWriter::create(const QString &path)
{
    close();
    m_impl = new Impl;
    m_impl->file.setFileName(path);
    if (m_impl->file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return true;
    close();
    return false;
}

bool TextFileWriter::isOpen() const
{
    return m_impl != nullptr;
}

void TextFileWriter::writeLine(const QString &line)
{
    if (!m_impl)
        return;
    m_impl->file.write(line.toUtf8());
    m_impl->file.write("\n", 1);
}

void TextFileWriter::close()
{
    delete m_impl;
    m_impl = nullptr;
}

bool writeTextFileAtomically(const QString &path, const QStringList &lines, int permissions)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The temporary file may have taken over the wider mode of an older file.
    if (::fchmod(file.handle(), static_cast<mode_t>(permissions)) != 0)
        return false;
    QByteArray content;
    for (const QString &line : lines)
        content += line.toUtf8() + '\n';
    // QSaveFile buffers the bytes and commit() renames even when the final flush
    // fails (a full disk), so flush here and give up on any short write.
    if (file.write(content) != content.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace Platform::Files
