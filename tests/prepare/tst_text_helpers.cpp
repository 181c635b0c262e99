#include "prepare/text_helpers.h"

#include <QTest>

class TestTextHelpers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textBefore_data();
    void textBefore();
    void textAfter_data();
    void textAfter();
};

void TestTextHelpers::textBefore_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected");

    const QString dot = QStringLiteral(".");
    QTest::newRow("scene name") << QStringLiteral("main.c4d") << dot << QStringLiteral("main");
    QTest::newRow("no separator gives nothing") << QStringLiteral("main") << dot << QString();
    QTest::newRow("first of several") << QStringLiteral("a.b.c") << dot << QStringLiteral("a");
    QTest::newRow("separator first") << QStringLiteral(".backup.tgd") << dot << QString();
    QTest::newRow("separator last") << QStringLiteral("main.") << dot << QStringLiteral("main");
    QTest::newRow("longer separator") << QStringLiteral("1.6-->1.7") << QStringLiteral("-->") << QStringLiteral("1.6");
    QTest::newRow("empty text") << QString() << dot << QString();
    QTest::newRow("empty separator") << QStringLiteral("main.c4d") << QString() << QString();
    QTest::newRow("case counts") << QStringLiteral("mainXc4d") << QStringLiteral("x") << QString();
    QTest::newRow("base of 21 characters")
        << QStringLiteral("abcdefghijklmnopqrstu.lws") << dot << QStringLiteral("abcdefghijklmnopqrstu");
}

void TestTextHelpers::textBefore()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(QString, expected);

    QCOMPARE(TextBefore(text, separator), expected);
}

void TestTextHelpers::textAfter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected");

    const QString dash = QStringLiteral("-");
    QTest::newRow("version pair") << QStringLiteral("1.6-1.7") << dash << QStringLiteral("1.7");
    QTest::newRow("head repeated later goes too") << QStringLiteral("a-b-a-c") << dash << QStringLiteral("b-c");
    QTest::newRow("one-character separator absent") << QStringLiteral("1.7") << dash << QStringLiteral("1.7");
    QTest::newRow("empty text") << QString() << dash << QString();
    QTest::newRow("empty separator") << QStringLiteral("1.6-1.7") << QString() << QStringLiteral("1.6-1.7");
    QTest::newRow("separator last") << QStringLiteral("1.6-") << dash << QString();
    QTest::newRow("separator first") << QStringLiteral("-1.7") << dash << QStringLiteral("1.7");
    QTest::newRow("longer separator absent keeps its first characters out")
        << QStringLiteral("abc") << QStringLiteral("--") << QStringLiteral("bc");
    QTest::newRow("longer separator") << QStringLiteral("key: value") << QStringLiteral(": ")
                                      << QStringLiteral("value");
}

void TestTextHelpers::textAfter()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(QString, expected);

    QCOMPARE(TextAfter(text, separator), expected);
}

QTEST_GUILESS_MAIN(TestTextHelpers)
#include "tst_text_helpers.moc"
