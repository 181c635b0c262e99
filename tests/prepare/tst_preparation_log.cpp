// The preparation log on its own: the date line, the archive size text, and the
// exact lines that box and file receive for each report.

#include "archive_run.h"
#include "prepare/preparation_log.h"

#include <QFileInfo>
#include <QTest>

using namespace ArchiveTest;

namespace {

QString logPath(const Fixture &run)
{
    return run.base() + QStringLiteral("/KORVObinder.log");
}

QString errorLogPath(const Fixture &run)
{
    return run.base() + QStringLiteral("/ERROR_KORVObinder.log");
}

} // namespace

class PreparationLogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dateLine_data();
    void dateLine();
    void sizeText_data();
    void sizeText();
    void startHeader();
    void successReport_data();
    void successReport();
    void failureReport_data();
    void failureReport();
    void logFileCannotBeCreated();
};

void PreparationLogTest::dateLine_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("expected");

    QTest::newRow("afternoon") << QDateTime(QDate(2015, 6, 30), QTime(14, 5, 9)) << "Date: 2015-06-30 - Hour: 14:05:09";
    QTest::newRow("midnight") << QDateTime(QDate(2024, 1, 2), QTime(0, 0, 0)) << "Date: 2024-01-02 - Hour: 00:00:00";
    QTest::newRow("last second") << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))
                                 << "Date: 1999-12-31 - Hour: 23:59:59";
}

void PreparationLogTest::dateLine()
{
    QFETCH(QDateTime, moment);
    QFETCH(QString, expected);
    QCOMPARE(logDateLine(moment), expected);
}

void PreparationLogTest::sizeText_data()
{
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one and a half") << qint64(1572864) << "C"
                                    << "1.50";
    QTest::newRow("500 bytes") << qint64(500) << "C"
                               << "0.00";
    QTest::newRow("nothing") << qint64(0) << "C"
                             << "0.00";
    QTest::newRow("rounded up") << qint64(1043400) << "C"
                                << "1.00";
    QTest::newRow("rounded down") << qint64(1567000) << "C"
                                  << "1.49";
    QTest::newRow("comma locale") << qint64(1572864) << "de_DE"
                                  << "1,50";
    QTest::newRow("french") << qint64(1572864) << "fr_FR"
                            << "1,50";
    QTest::newRow("no grouping, C") << qint64(3221225472) << "C"
                                    << "3072.00";
    QTest::newRow("no grouping, english") << qint64(3221225472) << "en_US"
                                          << "3072.00";
    QTest::newRow("no grouping, german") << qint64(3221225472) << "de_DE"
                                         << "3072,00";
}

void PreparationLogTest::sizeText()
{
    QFETCH(qint64, size);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    QCOMPARE(archiveSizeText(size, QLocale(locale)), expected);
}

void PreparationLogTest::startHeader()
{
    Fixture run;
    run.ts.windows.appendLine(Gadget::LogBox, QStringLiteral("the last run's line"));
    PreparationLog log(*run.ts.session);
    log.clearBox();
    log.start();
    log.closeFile();

    QCOMPARE(
        normalised(run.boxLines()),
        QStringList({QStringLiteral("{date}"),
                     QStringLiteral("KORVObinder is gathering all files in the project directory..."), QString()}));
    const QByteArray file = readFile(logPath(run));
    QVERIFY(!file.startsWith("\xEF\xBB\xBF"));
    QVERIFY(!file.contains('\r'));
    QCOMPARE(normalised(fileLines(file)), fileHead(false).first(4));
    QCOMPARE(log.filePath(), logPath(run));
}

void PreparationLogTest::successReport_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("secondsText");
    QTest::addColumn<QString>("sizeText");

    QTest::newRow("under a second") << qint64(0) << qint64(500) << "C"
                                    << "0"
                                    << "0.00";
    QTest::newRow("minutes") << qint64(125) << qint64(1572864) << "C"
                             << "125"
                             << "1.50";
    QTest::newRow("thousands") << qint64(12345) << qint64(1572864) << "en_US"
                               << "12345"
                               << "1.50";
    QTest::newRow("comma locale") << qint64(7) << qint64(1572864) << "de_DE"
                                  << "7"
                                  << "1,50";
    QTest::newRow("negative") << qint64(-1) << qint64(1) << "C"
                              << "-1"
                              << "0.00";
}

void PreparationLogTest::successReport()
{
    QFETCH(qint64, seconds);
    QFETCH(qint64, size);
    QFETCH(QString, locale);
    QFETCH(QString, secondsText);
    QFETCH(QString, sizeText);

    TestSession ts;
    ts.choose(QStringLiteral("Lightwave"));
    auto context = ts.session->context;
    context.locale = QLocale(locale);
    Session session(context, ts.windows, ts.opener);
    QVERIFY(MainWindow::open(session, 0, QSize()));

    PreparationLog log(session);
    log.clearBox();
    log.start();
    log.reportCompressing();
    log.markCompressionFinished();
    log.addLine({});
    log.reportSuccess(seconds, ts.base() + QStringLiteral("/archive/My_Scene_final.vul"), size);

    QStringList box = successBox(ts.base(), QStringLiteral("My_Scene_final.vul"));
    box.replaceInStrings(QStringLiteral("{seconds}"), secondsText);
    box.replaceInStrings(QStringLiteral("0.00 MB"), sizeText + QStringLiteral(" MB"));
    QCOMPARE(normalised(ts.windows.lines(Gadget::LogBox), true), box);

    // The report closes the file: everything is on disk now.
    QStringList file = successFile(ts.base(), QStringLiteral("My_Scene_final.vul"));
    file.replaceInStrings(QStringLiteral("{seconds}"), secondsText);
    file.replaceInStrings(QStringLiteral("0.00 MB"), sizeText + QStringLiteral(" MB"));
    const QByteArray bytes = readFile(ts.base() + QStringLiteral("/KORVObinder.log"));
    QVERIFY(bytes.endsWith("Your project is now ready to render!\n"));
    QCOMPARE(normalised(fileLines(bytes), true), file);

    QCOMPARE(ts.opener.opened, QStringList{ts.base() + QStringLiteral("/archive")});
    QCOMPARE(ts.windows.progress(Gadget::ProgressBar), MainWindow::ProgressMaximum);
    QVERIFY(ts.windows.shown.isEmpty());
}

void PreparationLogTest::failureReport_data()
{
    QTest::addColumn<QByteArray>("earlierErrorLog");
    QTest::addColumn<bool>("compressed");

    QTest::newRow("first failure, 7za missing") << QByteArray() << false;
    QTest::newRow("earlier error log replaced") << QByteArray("an earlier failure\n") << true;
    QTest::newRow("empty earlier error log") << QByteArray("") << true;
}

void PreparationLogTest::failureReport()
{
    QFETCH(QByteArray, earlierErrorLog);
    QFETCH(bool, compressed);

    Fixture run;
    if (!earlierErrorLog.isNull())
        QVERIFY(writeFile(errorLogPath(run), earlierErrorLog));
    run.expectFailureBox();

    PreparationLog log(*run.ts.session);
    log.clearBox();
    log.start();
    if (compressed) {
        log.reportCompressing();
        log.markCompressionFinished();
    }
    log.addLine({});
    log.reportFailure();

    KORVO_VERIFY_SCRIPT(run.ts.windows);
    QCOMPARE(normalised(run.boxLines()), boxHead(compressed) + failureLines);
    const QByteArray bytes = readFile(errorLogPath(run));
    QVERIFY(bytes.endsWith("   the project HAS NOT BEEN prepared sucessfully!\n\n"));
    QCOMPARE(normalised(fileLines(bytes)), fileHead(compressed) + failureLines);
    QVERIFY(!QFileInfo::exists(logPath(run)));
    QCOMPARE(run.ts.windows.progress(Gadget::ProgressBar), compressed ? MainWindow::ProgressMaximum : 0);
    QVERIFY(run.ts.opener.opened.isEmpty());
}

void PreparationLogTest::logFileCannotBeCreated()
{
    Fixture run;
    // Something that is not a file already holds the log file's name.
    QVERIFY(makeDirectory(logPath(run)));
    PreparationLog log(*run.ts.session);
    log.clearBox();
    log.start();
    log.reportCompressing();
    log.markCompressionFinished();
    log.addLine({});
    log.reportSuccess(3, run.archive(QStringLiteral("shot.vul")), 2048);

    QStringList box = successBox(run.base(), QStringLiteral("shot.vul"));
    box.replaceInStrings(QStringLiteral("{seconds}"), QStringLiteral("3"));
    QCOMPARE(normalised(run.boxLines(), true), box);
    QVERIFY(QFileInfo(logPath(run)).isDir());
    QCOMPARE(run.ts.opener.opened, QStringList{run.base() + QStringLiteral("/archive")});
}

QTEST_GUILESS_MAIN(PreparationLogTest)
#include "tst_preparation_log.moc"
