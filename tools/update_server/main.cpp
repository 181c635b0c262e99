#include "reference_update_server.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

using ReferenceUpdateServer::Configuration;

namespace {

void printLine(FILE *stream, const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvo-update-server"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Serves KORVObinder's update check and download."));
    parser.addHelpOption();
    const QCommandLineOption replyOption(
        QStringLiteral("reply"), QStringLiteral("The version reply, e.g. 1.7 (required)."), QStringLiteral("text"));
    const QCommandLineOption fileOption(QStringLiteral("file"),
                                        QStringLiteral("The update archive sent on request (required)."),
                                        QStringLiteral("path"));
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("TCP port; 0 picks a free one."),
                                        QStringLiteral("port"), QStringLiteral("6789"));
    const QCommandLineOption listenOption(QStringLiteral("listen"), QStringLiteral("Address to listen on."),
                                          QStringLiteral("address"), QStringLiteral("0.0.0.0"));
    const QCommandLineOption terminatorOption(QStringLiteral("zero-terminated"),
                                              QStringLiteral("Send a zero byte after the reply."));
    const QCommandLineOption modeOption(
        QStringLiteral("mode"),
        QStringLiteral("Behaviour for tests: %1.").arg(ReferenceUpdateServer::modeNames().join(QStringLiteral(", "))),
        QStringLiteral("mode"), QStringLiteral("normal"));
    const QCommandLineOption announceOption(QStringLiteral("announce"),
                                            QStringLiteral("Announce this length instead of the file's size."),
                                            QStringLiteral("bytes"));
    parser.addOptions(
        {replyOption, fileOption, portOption, listenOption, terminatorOption, modeOption, announceOption});
    parser.process(application);

    Configuration configuration;
    configuration.reply = parser.value(replyOption).toUtf8();
    if (parser.isSet(terminatorOption))
        configuration.reply.append('\0');
    configuration.updateFile = parser.value(fileOption);
    const auto mode = ReferenceUpdateServer::modeFromName(parser.value(modeOption));
    bool portValid = false;
    const uint port = parser.value(portOption).toUInt(&portValid);
    bool announceValid = true;
    if (parser.isSet(announceOption))
        configuration.announcedLength = parser.value(announceOption).toLongLong(&announceValid);
    const QHostAddress address(parser.value(listenOption));

    if (configuration.reply.isEmpty() || !QFileInfo(configuration.updateFile).isFile() || !mode || !portValid ||
        port > 65535 || !announceValid || address.isNull()) {
        printLine(stderr, QStringLiteral("Give --reply, an existing --file, and valid --port, --listen, --mode and "
                                         "--announce values; see --help."));
        return 2;
    }
    configuration.mode = *mode;

    ReferenceUpdateServer::Server server(configuration);
    QObject::connect(&server, &ReferenceUpdateServer::Server::message,
                     [](const QString &line) { printLine(stderr, line); });
    if (!server.listen(address, quint16(port))) {
        printLine(stderr, QStringLiteral("Cannot listen: ") + server.errorString());
        return 1;
    }
    printLine(stdout, QStringLiteral("listening on %1 port %2").arg(address.toString()).arg(server.port()));
    return application.exec();
}
