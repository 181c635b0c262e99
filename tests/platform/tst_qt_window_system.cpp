#include "platform/qt_window_system.h"

#include <QApplication>
#include <QBuffer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace Platform;

Q_DECLARE_METATYPE(Platform::ClickKind)

namespace {

// Qt reports the physical Control key of a Mac as Meta.
#if defined(Q_OS_MACOS)
constexpr Qt::KeyboardModifier physicalControl = Qt::MetaModifier;
#else
constexpr Qt::KeyboardModifier physicalControl = Qt::ControlModifier;
#endif

WindowLayout mainWindow()
{
    WindowLayout layout;
    layout.number = 0;
    layout.title = QStringLiteral("Main window");
    layout.contentSize = QSize(420, 300);
    return layout;
}

QByteArray pngOf(const QSize &size, QColor fill)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QStringList linesOf(QWidget *box)
{
    const QString text = qobject_cast<QPlainTextEdit *>(box)->toPlainText();
    return text.isEmpty() && qobject_cast<QPlainTextEdit *>(box)->document()->blockCount() == 1 ? QStringList{}
                                                                                                : text.split(u'\n');
}

} // namespace

class TestQtWindowSystem : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void windowIsFixedAndPlaced();
    void windowWithoutCloseButton();
    void windowCentredOverTheActiveOne();
    void buttonClickComesOutOfTheWait();
    void waitBlocksUntilAnEventArrives();
    void disabledButtonGivesNoEvent();
    void imageClicks_data();
    void imageClicks();
    void doubleClickOnTheImage();
    void imageReleaseOutsideGivesNothing();
    void closeRequestIsQueuedAndTheWindowStays();
    void quitRequestIsRefused();
    void pendingEventsAreThrownAway();
    void closedWindowTakesItsGadgets();
    void textBoxLines();
    void textBoxLooks();
    void progressBar();
    void imageDecoding();

private:
    QWidget *gadget(int number) const;
    QWidget *window(int number) const;

    std::unique_ptr<QtWindowSystem> m_windows;
};

void TestQtWindowSystem::init()
{
    m_windows = std::make_unique<QtWindowSystem>(false);
}

void TestQtWindowSystem::cleanup()
{
    m_windows.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QWidget *TestQtWindowSystem::gadget(int number) const
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *found = top->findChild<QWidget *>(QStringLiteral("gadget%1").arg(number)))
            return found;
    }
    return nullptr;
}

QWidget *TestQtWindowSystem::window(int number) const
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QStringLiteral("window%1").arg(number))
            return top;
    }
    return nullptr;
}

void TestQtWindowSystem::windowIsFixedAndPlaced()
{
    QVERIFY(m_windows->openWindow(mainWindow()));
    QWidget *main = window(0);
    QVERIFY(main);
    QVERIFY(main->isVisible());
    QCOMPARE(main->windowTitle(), QStringLiteral("Main window"));
    QCOMPARE(main->size(), QSize(420, 300));
    QCOMPARE(main->minimumSize(), QSize(420, 300));
    QCOMPARE(main->maximumSize(), QSize(420, 300));
    QCOMPARE(main->geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
    QVERIFY(main->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(main->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(!m_windows->openWindow(mainWindow()));
}

void TestQtWindowSystem::windowWithoutCloseButton()
{
    WindowLayout layout = mainWindow();
    layout.number = 3;
    layout.closeButton = false;
    QVERIFY(m_windows->openWindow(layout));
    const Qt::WindowFlags flags = window(3)->windowFlags();
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(flags & Qt::WindowTitleHint);
    QVERIFY(!(flags & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
}

void TestQtWindowSystem::windowCentredOverTheActiveOne()
{
    WindowLayout status = mainWindow();
    status.number = 4;
    status.contentSize = QSize(200, 80);
    status.placement = Placement::CentredOverActiveWindow;
    status.fallbackPosition = QPoint(17, 23);
    QVERIFY(m_windows->openWindow(status));
    QCOMPARE(window(4)->geometry(), QRect(QPoint(17, 23), QSize(200, 80)));
    m_windows->closeWindow(4);

    WindowLayout layout = mainWindow();
    layout.contentSize = QSize(600, 400);
    QVERIFY(m_windows->openWindow(layout));
    window(0)->move(40, 60);
    QVERIFY(QTest::qWaitForWindowActive(window(0)));
    QVERIFY(m_windows->openWindow(status));
    QCOMPARE(window(4)->geometry().center(), window(0)->geometry().center());
}

void TestQtWindowSystem::buttonClickComesOutOfTheWait()
{
    QVERIFY(m_windows->openWindow(mainWindow()));
    m_windows->addButton(0, 5, QRect(10, 10, 120, 30), QStringLiteral("Prepare project"), false);
    m_windows->addButton(0, 11, QRect(10, 50, 120, 30), QStringLiteral("Config"), true);
    auto *prepare = qobject_cast<QPushButton *>(gadget(5));
    auto *config = qobject_cast<QPushButton *>(gadget(11));
    QVERIFY(prepare && config);
    QCOMPARE(prepare->text(), QStringLiteral("Prepare project"));
    QCOMPARE(prepare->geometry(), QRect(10, 10, 120, 30));
    QVERIFY(!prepare->isCheckable());
    QVERIFY(config->isCheckable());

    QTest::mouseClick(prepare, Qt::LeftButton);
    QTest::mouseClick(config, Qt::LeftButton);
    QVERIFY(config->isChecked());
    Event event = m_windows->waitEvent();
    QCOMPARE(event.kind, EventKind::Gadget);
    QCOMPARE(event.window, 0);
    QCOMPARE(event.gadget, 5);
    event = m_windows->waitEvent();
    QCOMPARE(event.kind, EventKind::Gadget);
    QCOMPARE(event.gadget, 11);
}

void TestQtWindowSystem::waitBlocksUntilAnEventArrives()
{
    QVERIFY(m_windows->openWindow(mainWindow()));
    m_windows->addButton(0, 12, QRect(10, 10, 120, 30), QStringLiteral("Updates"), false);
    auto *button = qobject_cast<QPushButton *>(gadget(12));
    QTimer::singleShot(0, button, &QPushButton::click);
    const Event event = m_windows->waitEvent();
    QCOMPARE(event.kind, EventKind::Gadget);
    QCOMPARE(event.gadget, 12);
}

void TestQtWindowSystem::disabledButtonGivesNoEvent()
{
    QVERIFY(m_windows->openWindow(mainWindow()));
    m_windows->addButton(0, 4, QRect(10, 10, 120, 30), QStringLiteral("Upload"), false);
    m_windows->addButton(0, 5, QRect(10, 50, 120, 30), QStringLiteral("Prepare project"), false);
    m_windows->setGadgetEnabled(5, false);
    QVERIFY(!gadget(5)->isEnabled());
    QTest::mouseClick(gadget(5), Qt::LeftButton);
    QTest::mouseClick(gadget(4), Qt::LeftButton);
    QCOMPARE(m_windows->waitEvent().gadget, 4);

    m_windows->setGadgetEnabled(5, true);
    QTest::mouseClick(gadget(5), Qt::LeftButton);
    QCOMPARE(m_windows->waitEvent().gadget, 5);
}

void TestQtWindowSystem::imageClicks_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<Platform::ClickKind>("expected");
    QTest::newRow("plain") << Qt::LeftButton << Qt::KeyboardModifiers() << ClickKind::Plain;
    QTest::newRow("physical control") << Qt::LeftButton << Qt::KeyboardModifiers(physicalControl) << ClickKind::Control;
    QTest::newRow("shift is plain") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << ClickKind::Plain;
    QTest::newRow("right") << Qt::RightButton << Qt::KeyboardModifiers() << ClickKind::Right;
}

void TestQtWindowSystem::imageClicks()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(Platform::ClickKind, expected);
    QVERIFY(m_windows->openWindow(mainWindow()));
    m_windows->addImage(0, 0, QRect(0, 0, 405, 89), m_windows->decodeImage(pngOf(QSize(403, 87), Qt::red)));
    QTest::mouseClick(gadget(0), button, modifiers, QPoint(30, 20));
    const Event event = m_windows->waitEvent();
    QCOMPARE(event.kind, EventKind::Gadget);
    QCOMPARE(event.window, 0);
    QCOMPARE(event.gadget, 0);
    QCOMPARE(event.click, expected);
}

void TestQtWindowSystem::doubleClickOnTheImage()
{
    QVERIFY(m_windows->openWindow(mainWindow()));
    m_windows->addImage(0, 0, QRect(0, 0, 405, 89), 0);
    // What Qt delivers for a double click: press, release, double click, release.
    QTest::mouseClick(gadget(0), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseDClick(gadget(0), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(gadget(0), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(gadget(0), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(m_windows->waitEvent().click, ClickKind::Plain);
    QCOMPARE(m_windows->waitEvent().click, ClickKind::DoubleClickSecond);
    QCOMPARE(m_windows->waitEvent().click, ClickKind::Plain);
}

void TestQtWindowSystem::imageReleaseOutsideGivesNothing()
{
    QVERIFY(m_windows->openWindow(mainWindow()));
    m_windows->addImage(0, 0, QRect(0, 0, 100, 50), 0);
    m_windows->addButton(0, 9, QRect(10, 100, 120, 30), QStringLiteral("About"), false);
    QTest::mousePress(gadget(0), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(gadget(0), Qt::LeftButton, {}, QPoint(150, 5));
    QTest::mouseClick(gadget(9), Qt::LeftButton);
    QCOMPARE(m_windows->waitEvent().gadget, 9);
}

void TestQtWindowSystem::closeRequestIsQueuedAndTheWindowStays()
{
    QVERIFY(m_windows->openWindow(mainWindow()));
    WindowLayout chooser = mainWindow();
    chooser.number = 1;
    QVERIFY(m_windows->openWindow(chooser));
    QVERIFY(!window(1)->close());
    QVERIFY(window(1)->isVisible());
    const Event event = m_windows->waitEvent();
    QCOMPARE(event.kind, EventKind::CloseRequest);
    QCOMPARE(event.window, 1);

    m_windows->closeWindow(1);
    QVERIFY(!window(1));
    QVERIFY(window(0)->isVisible());
}

void TestQtWindowSystem::quitRequestIsRefused()
{
    QVERIFY(m_windows->openWindow(mainWindow()));
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(qApp, &quit);
    QVERIFY(!quit.isAccepted());
    QVERIFY(window(0)->isVisible());
    const Event event = m_windows->waitEvent();
    QCOMPARE(event.kind, EventKind::Menu);
}

void TestQtWindowSystem::pendingEventsAreThrownAway()
{
    QVERIFY(m_windows->openWindow(mainWindow()));
    m_windows->addButton(0, 4, QRect(10, 10, 120, 30), QStringLiteral("Upload"), false);
    m_windows->addButton(0, 5, QRect(10, 50, 120, 30), QStringLiteral("Prepare project"), false);
    auto *upload = qobject_cast<QPushButton *>(gadget(4));
    // One click already queued, one that only happens while pending events are processed.
    QTest::mouseClick(upload, Qt::LeftButton);
    QMetaObject::invokeMethod(upload, &QPushButton::click, Qt::QueuedConnection);
    window(0)->close();
    m_windows->processPendingEvents();
    QVERIFY(window(0)->isVisible());

    QTest::mouseClick(gadget(5), Qt::LeftButton);
    const Event event = m_windows->waitEvent();
    QCOMPARE(event.kind, EventKind::Gadget);
    QCOMPARE(event.gadget, 5);
}

void TestQtWindowSystem::closedWindowTakesItsGadgets()
{
    WindowLayout chooser = mainWindow();
    chooser.number = 1;
    QVERIFY(m_windows->openWindow(chooser));
    m_windows->addButton(1, 30, QRect(10, 10, 120, 30), QStringLiteral("LIGHTWAVE"), false);
    QVERIFY(gadget(30));
    m_windows->closeWindow(1);
    QVERIFY(!gadget(30));
    m_windows->setGadgetEnabled(30, false);
    m_windows->appendLine(30, QStringLiteral("ignored"));
    QVERIFY(m_windows->openWindow(chooser));
    m_windows->addButton(7, 31, QRect(10, 10, 120, 30), QStringLiteral("no such window"), false);
    QVERIFY(!gadget(31));
}

void TestQtWindowSystem::textBoxLines()
{
    QVERIFY(m_windows->openWindow(mainWindow()));
    m_windows->addTextBox(0, 20, QRect(5, 100, 400, 150), 0xffffff, 0x000000);
    QWidget *box = gadget(20);
    QVERIFY(box);
    QCOMPARE(linesOf(box), QStringList{});

    m_windows->appendLine(20, QString());
    m_windows->appendLine(20, QStringLiteral("second"));
    QCOMPARE(linesOf(box), (QStringList{QString(), QStringLiteral("second")}));
    m_windows->insertLine(20, 0, QStringLiteral("first"));
    m_windows->insertLine(20, 2, QStringLiteral("between"));
    m_windows->insertLine(20, 9, QStringLiteral("<b>end</b>"));
    QCOMPARE(linesOf(box), (QStringList{QStringLiteral("first"), QString(), QStringLiteral("between"),
                                        QStringLiteral("second"), QStringLiteral("<b>end</b>")}));

    m_windows->clearText(20);
    QCOMPARE(linesOf(box), QStringList{});
    m_windows->insertLine(20, 3, QStringLiteral("only"));
    m_windows->insertLine(20, 0, QStringLiteral("top"));
    QCOMPARE(linesOf(box), (QStringList{QStringLiteral("top"), QStringLiteral("only")}));
}

void TestQtWindowSystem::textBoxLooks()
{
    QVERIFY(m_windows->openWindow(mainWindow()));
    m_windows->addTextBox(0, 20, QRect(5, 100, 400, 150), 0x102030, 0xc0d0e0);
    auto *box = qobject_cast<QPlainTextEdit *>(gadget(20));
    QVERIFY(box);
    QCOMPARE(box->geometry(), QRect(5, 100, 400, 150));
    QVERIFY(box->isReadOnly());
    QVERIFY(box->textInteractionFlags() & Qt::TextSelectableByMouse);
    QCOMPARE(box->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(box->palette().color(QPalette::Base), QColor(0x10, 0x20, 0x30));
    QCOMPARE(box->palette().color(QPalette::Text), QColor(0xc0, 0xd0, 0xe0));

    // A long log keeps its last line in view.
    for (int i = 0; i < 200; ++i)
        m_windows->appendLine(20, QStringLiteral("line %1").arg(i));
    QCoreApplication::processEvents();
    QVERIFY(box->verticalScrollBar()->maximum() > 0);
    QCOMPARE(box->verticalScrollBar()->value(), box->verticalScrollBar()->maximum());
    m_windows->setGadgetEnabled(20, false);
    QVERIFY(!box->isEnabled());
}

void TestQtWindowSystem::progressBar()
{
    QVERIFY(m_windows->openWindow(mainWindow()));
    m_windows->addProgressBar(0, 3, QRect(5, 260, 400, 20), 0, 100);
    auto *bar = qobject_cast<QProgressBar *>(gadget(3));
    QVERIFY(bar);
    QCOMPARE(bar->orientation(), Qt::Horizontal);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->value(), 0);
    m_windows->setProgress(3, 42);
    QCOMPARE(bar->value(), 42);
    m_windows->setProgress(3, 100);
    QCOMPARE(bar->value(), 100);
}

void TestQtWindowSystem::imageDecoding()
{
    QCOMPARE(m_windows->decodeImage(QByteArrayLiteral("not a png")), 0);
    QCOMPARE(m_windows->decodeImage(QByteArray()), 0);
    const int first = m_windows->decodeImage(pngOf(QSize(405, 89), Qt::blue));
    const int second = m_windows->decodeImage(pngOf(QSize(4, 4), Qt::green));
    QVERIFY(first > 0);
    QVERIFY(second > 0);
    QVERIFY(first != second);

    QVERIFY(m_windows->openWindow(mainWindow()));
    m_windows->addImage(0, 0, QRect(0, 0, 407, 91), first);
    auto *label = qobject_cast<QLabel *>(gadget(0));
    QVERIFY(label);
    QCOMPARE(label->geometry(), QRect(0, 0, 407, 91));
    QCOMPARE(label->pixmap().size(), QSize(405, 89));
    QVERIFY(!label->hasScaledContents());
}

QTEST_MAIN(TestQtWindowSystem)
#include "tst_qt_window_system.moc"
