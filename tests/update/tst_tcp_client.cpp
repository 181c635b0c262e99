#include "background_update_server.h"
#include "platform/tcp_client.h"

#include <QTcpServer>
#include <QTest>

using Platform::TcpClient;
using ReferenceUpdateServer::Mode;

namespace {

const QByteArray greeting = QByteArrayLiteral("KORVObinder v1.6 / Mac ");

ReferenceUpdateServer::Configuration serving(Mode mode)
{
    ReferenceUpdateServer::Configuration configuration;
    configuration.reply = QByteArrayLiteral("1.7");
    configuration.mode = mode;
    return configuration;
}

bool pollUntil(TcpClient &client, TcpClient::PollResult wanted)
{
    return QTest::qWaitFor([&] { return client.poll() == wanted; }, 10000);
}

} // namespace

class TcpClientTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pollConsumesNothing();
    void receiveWaitIsBounded();
    void peerClosing();
    void hostNames_data();
    void hostNames();
    void refusedConnection();
};

void TcpClientTest::pollConsumesNothing()
{
    BackgroundUpdateServer server(serving(Mode::Normal));
    QVERIFY(server.start());
    TcpClient client;
    QVERIFY(client.connectToHost(QStringLiteral("127.0.0.1"), server.port(), 5000));
    QCOMPARE(client.poll(), TcpClient::PollResult::Nothing);
    client.send(greeting);
    QVERIFY(pollUntil(client, TcpClient::PollResult::Data));
    QCOMPARE(client.poll(), TcpClient::PollResult::Data);

    char buffer[16] = {};
    QCOMPARE(client.receive(buffer, sizeof buffer, 5000), qint64(3));
    QCOMPARE(QByteArray(buffer, 3), QByteArray("1.7"));
    QCOMPARE(client.poll(), TcpClient::PollResult::Nothing);
}

void TcpClientTest::receiveWaitIsBounded()
{
    BackgroundUpdateServer server(serving(Mode::NoReply));
    QVERIFY(server.start());
    TcpClient client;
    QVERIFY(client.connectToHost(QStringLiteral("127.0.0.1"), server.port(), 5000));
    client.send(greeting);
    char buffer[16];
    QCOMPARE(client.receive(buffer, sizeof buffer, 20), qint64(-2));
    QCOMPARE(client.poll(), TcpClient::PollResult::Nothing);
}

void TcpClientTest::peerClosing()
{
    BackgroundUpdateServer server(serving(Mode::CloseWithoutReply));
    QVERIFY(server.start());
    TcpClient client;
    QVERIFY(client.connectToHost(QStringLiteral("127.0.0.1"), server.port(), 5000));
    client.send(greeting);
    QVERIFY(pollUntil(client, TcpClient::PollResult::Closed));
    char buffer[16];
    QCOMPARE(client.receive(buffer, sizeof buffer, 5000), qint64(0));
    // Sending to a closed peer must neither block nor end the program.
    client.send(greeting);
    client.send(greeting);
    client.close();
    QCOMPARE(client.poll(), TcpClient::PollResult::Closed);
    QCOMPARE(client.receive(buffer, sizeof buffer, 5000), qint64(-1));
}

void TcpClientTest::hostNames_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("connects");
    QTest::newRow("dotted address") << QStringLiteral("127.0.0.1") << true;
    QTest::newRow("name through the resolver") << QStringLiteral("localhost") << true;
    QTest::newRow("name that does not resolve") << QStringLiteral("no-such-host.invalid") << false;
    QTest::newRow("empty") << QString() << false;
}

void TcpClientTest::hostNames()
{
    QFETCH(QString, host);
    QFETCH(bool, connects);
    BackgroundUpdateServer server(serving(Mode::Normal));
    QVERIFY(server.start());
    TcpClient client;
    QCOMPARE(client.connectToHost(host, server.port(), 5000), connects);
}

void TcpClientTest::refusedConnection()
{
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    TcpClient client;
    QVERIFY(TcpClient::networkAvailable());
    QVERIFY(!client.connectToHost(QStringLiteral("127.0.0.1"), port, 5000));
    QCOMPARE(client.poll(), TcpClient::PollResult::Closed);
}

QTEST_GUILESS_MAIN(TcpClientTest)
#include "tst_tcp_client.moc"
