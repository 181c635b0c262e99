#include "platform/clock.h"
#include "platform/desktop_opener.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Platform;

class TestDesktopOpenerAndClock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void openerGetsTheTargetAsOneArgument_data();
    void openerGetsTheTargetAsOneArgument();
    void clockNeverRunsBackwards();
    void localDateTimeIsLocal();
};

void TestDesktopOpenerAndClock::openerGetsTheTargetAsOneArgument_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("web page with query") << QStringLiteral("https://www.example.test/login.php?user=a b&pass=c%20d");
    QTest::newRow("folder with blanks") << QStringLiteral("/Applications/KORVObinder/archive/");
    QTest::newRow("file with tab and line feed") << QStringLiteral("/tmp/odd\tname\nhere.txt");
}

void TestDesktopOpenerAndClock::openerGetsTheTargetAsOneArgument()
{
    QFETCH(QString, target);
    // A stand-in for the system's opener, found first along the search path, records its arguments.
#if defined(Q_OS_MACOS)
    const QString openerName = QStringLiteral("open");
#else
    const QString openerName = QStringLiteral("xdg-open");
#endif
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    const QString record = bin.path() + QStringLiteral("/record");
    QFile script(bin.path() + u'/' + openerName);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s\\0' \"$#\" \"$@\" > '" + record.toUtf8() + ".tmp'\nmv '" + record.toUtf8() +
                 ".tmp' '" + record.toUtf8() + "'\n");
    script.close();
    QVERIFY(script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));

    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8() + ':' + oldPath);
    SystemDesktopOpener().open(target);
    qputenv("PATH", oldPath);

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    QFile recorded(record);
    QVERIFY(recorded.open(QIODevice::ReadOnly));
    QCOMPARE(recorded.readAll(), QByteArray("1\0", 2) + target.toUtf8() + '\0');
}

void TestDesktopOpenerAndClock::clockNeverRunsBackwards()
{
    qint64 previous = milliseconds();
    QVERIFY(previous >= 0);
    for (int i = 0; i < 1000; ++i) {
        const qint64 now = milliseconds();
        QVERIFY(now >= previous);
        previous = now;
    }
}

void TestDesktopOpenerAndClock::localDateTimeIsLocal()
{
    const QDateTime before = QDateTime::currentDateTime();
    const QDateTime now = localDateTime();
    QCOMPARE(now.timeSpec(), Qt::LocalTime);
    QVERIFY(now >= before);
    QVERIFY(now <= QDateTime::currentDateTime());
}

QTEST_GUILESS_MAIN(TestDesktopOpenerAndClock)
#include "tst_desktop_opener_and_clock.moc"
