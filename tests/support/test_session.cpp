#include "test_session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

Platform::AppContext testContext(const QString &baseDirectory)
{
    Platform::AppContext context;
    context.baseDirectory = baseDirectory;
    context.webHost = QStringLiteral("www.example.test");
    context.publicUpdateHost = QStringLiteral("127.0.0.1");
    context.localUpdateHost = QStringLiteral("localhost");
    return context;
}

QString sevenZipProgram()
{
    return QStringLiteral(KORVO_TEST_7ZA);
}

TestSession::TestSession()
{
    QDir(m_root.path()).mkpath(QStringLiteral("KORVObinder"));
    QDir(m_root.path()).mkpath(QStringLiteral("work"));
    session = std::make_unique<Session>(testContext(m_root.path() + QStringLiteral("/KORVObinder")), windows, opener);
}

bool TestSession::installSevenZip() const
{
    const QString target = base() + QStringLiteral("/7za");
    QFile::remove(target);
    return QFile::copy(sevenZipProgram(), target) &&
           QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void TestSession::choose(const QString &applicationName)
{
    session->application = profileByName(applicationName);
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

bool makeDirectory(const QString &path)
{
    return QDir().mkpath(path);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int fileMode(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

FileSizeLimit::FileSizeLimit(qint64 bytes, Overstep overstep)
{
    rlimit limit = {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return;
    m_previousLimit = limit.rlim_cur;
    m_previousHandler = std::signal(SIGXFSZ, overstep == Overstep::KillsWriter ? SIG_DFL : SIG_IGN);
    limit.rlim_cur = rlim_t(bytes);
    m_active = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    if (!m_active)
        std::signal(SIGXFSZ, m_previousHandler);
}

FileSizeLimit::~FileSizeLimit()
{
    if (!m_active)
        return;
    rlimit limit = {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(m_previousLimit);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_previousHandler);
}
