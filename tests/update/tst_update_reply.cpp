#include "update/update_reply.h"
#include "update/version_compare.h"

#include <QTest>

class UpdateReplyTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void replyText_data();
    void replyText();
    void serverVersion_data();
    void serverVersion();
    void versionIsOlder_data();
    void versionIsOlder();
};

void UpdateReplyTest::replyText_data()
{
    QTest::addColumn<QByteArray>("buffer");
    QTest::addColumn<qint64>("received");
    QTest::addColumn<QString>("text");

    QTest::newRow("text without zero") << QByteArray("1.7") << qint64(3) << QStringLiteral("1.7");
    QTest::newRow("zero ends the text") << QByteArray("1.7\0junk", 8) << qint64(8) << QStringLiteral("1.7");
    QTest::newRow("one zero byte") << QByteArray(1, '\0') << qint64(1) << QString();
    QTest::newRow("failed receive") << QByteArray("1.7") << qint64(-1) << QString();
    QTest::newRow("timed-out receive") << QByteArray("1.7") << qint64(-2) << QString();
    QTest::newRow("closed before a byte") << QByteArray("1.7") << qint64(0) << QString();
    QTest::newRow("never past the received bytes") << QByteArray("1.7xyz") << qint64(3) << QStringLiteral("1.7");
    QTest::newRow("UTF-8 decoded") << QStringLiteral("v\u00E9").toUtf8() << qint64(3) << QStringLiteral("v\u00E9");
    QTest::newRow("1000 bytes without zero")
        << QByteArray(1000, 'x') << qint64(1000) << QString(1000, QLatin1Char('x'));
}

void UpdateReplyTest::replyText()
{
    QFETCH(QByteArray, buffer);
    QFETCH(qint64, received);
    QFETCH(QString, text);
    QCOMPARE(::replyText(buffer.constData(), received), text);
}

void UpdateReplyTest::serverVersion_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("version");

    QTest::newRow("no separator") << QStringLiteral("1.7") << QStringLiteral("1.7");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("Mac-1.7") << QStringLiteral("Mac-1.7") << QStringLiteral("1.7");
    QTest::newRow("a-b-a-c") << QStringLiteral("a-b-a-c") << QStringLiteral("b-c");
    QTest::newRow("head repeated") << QStringLiteral("1.5-1.5-1.7") << QStringLiteral("1.7");
    QTest::newRow("separator first") << QStringLiteral("-1.7") << QStringLiteral("1.7");
    QTest::newRow("separator last") << QStringLiteral("1.7-") << QString();
    QTest::newRow("case-sensitive head") << QStringLiteral("a-A-b") << QStringLiteral("A-b");
}

void UpdateReplyTest::serverVersion()
{
    QFETCH(QString, reply);
    QFETCH(QString, version);
    QCOMPARE(::serverVersion(reply), version);
}

void UpdateReplyTest::versionIsOlder_data()
{
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("server");
    QTest::addColumn<bool>("older");

    QTest::newRow("1.6 < 1.7") << QStringLiteral("1.6") << QStringLiteral("1.7") << true;
    QTest::newRow("1.6 < 1.6.1") << QStringLiteral("1.6") << QStringLiteral("1.6.1") << true;
    QTest::newRow("1.6 < 2") << QStringLiteral("1.6") << QStringLiteral("2") << true;
    QTest::newRow("1.6 < 1.6 and a space") << QStringLiteral("1.6") << QStringLiteral("1.6 ") << true;
    QTest::newRow("1.6 not < 1.10") << QStringLiteral("1.6") << QStringLiteral("1.10") << false;
    QTest::newRow("equal not less") << QStringLiteral("1.6") << QStringLiteral("1.6") << false;
    QTest::newRow("empty server version") << QStringLiteral("1.6") << QString() << false;
    QTest::newRow("case matters") << QStringLiteral("a") << QStringLiteral("B") << false;
    QTest::newRow("signed: U+FF17 sorts before 7") << QStringLiteral("1.6") << QStringLiteral("1.\uFF17") << false;
    QTest::newRow("signed: 7 sorts after U+FF17") << QStringLiteral("1.\uFF17") << QStringLiteral("1.6") << true;
    QTest::newRow("U+7FFF is the largest") << QStringLiteral("1.\u7FFF") << QStringLiteral("1.\u8000") << false;
}

void UpdateReplyTest::versionIsOlder()
{
    QFETCH(QString, own);
    QFETCH(QString, server);
    QFETCH(bool, older);
    QCOMPARE(::versionIsOlder(own, server), older);
}

QTEST_GUILESS_MAIN(UpdateReplyTest)
#include "tst_update_reply.moc"
