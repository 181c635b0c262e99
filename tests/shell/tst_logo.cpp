// The logo embedded in the program and its decoding at start-up.

#include "scripted_window_system.h"
#include "shell/logo.h"

#include <QTest>

class LogoTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // 405 x 89, 8 bits per channel, colour type RGB, not interlaced.
    void embeddedLogoFormat()
    {
        const QByteArray png = embeddedLogo();
        QVERIFY(png.startsWith("\x89PNG\r\n\x1a\n"));
        QCOMPARE(pngSize(png), QSize(405, 89));
        QCOMPARE(png.at(24), char(8));
        QCOMPARE(png.at(25), char(2));
        QCOMPARE(png.at(28), char(0));
    }

    void decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("decoded");
        QTest::addColumn<QSize>("size");

        const QByteArray logo = embeddedLogo();
        QTest::newRow("the embedded logo") << logo << true << QSize(405, 89);
        QTest::newRow("no bytes") << QByteArray() << false << QSize();
        QTest::newRow("not a PNG") << QByteArray("GIF89a and more bytes than a header") << false << QSize();
        QTest::newRow("cut after the header") << logo.left(40) << false << QSize();
    }

    void decoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, decoded);
        QFETCH(QSize, size);

        ScriptedWindowSystem windows;
        const Logo logo = decodeLogo(windows, bytes);
        QCOMPARE(logo.image > 0, decoded);
        QCOMPARE(logo.size, size);
    }

    void headerSize_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");

        QByteArray header = QByteArrayLiteral("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x01\x95\0\0\0\x59");
        QTest::newRow("405 x 89") << header << QSize(405, 89);
        QTest::newRow("one byte short") << header.left(23) << QSize();
        QByteArray wrongChunk = header;
        wrongChunk.replace(12, 4, "IDAT");
        QTest::newRow("first chunk not IHDR") << wrongChunk << QSize();
        QByteArray wrongSignature = header;
        wrongSignature[1] = 'X';
        QTest::newRow("wrong signature") << wrongSignature << QSize();
    }

    void headerSize()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QCOMPARE(pngSize(bytes), size);
    }
};

QTEST_GUILESS_MAIN(LogoTest)
#include "tst_logo.moc"
