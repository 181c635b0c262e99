// The main window and the chooser on real widgets: what the person sees and
// how each click reaches its handler.

#include "platform/qt_window_system.h"
#include "shell/application_chooser.h"
#include "shell/event_loop.h"
#include "shell/logo.h"
#include "shell/main_window.h"
#include "shell_flow.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

// Qt reports the physical Control key of a Mac as Meta.
#if defined(Q_OS_MACOS)
constexpr Qt::KeyboardModifier physicalControl = Qt::MetaModifier;
#else
constexpr Qt::KeyboardModifier physicalControl = Qt::ControlModifier;
#endif

const QList<int> mainGadgetsInOrder{0, 20, 3, 5, 7, 4, 8, 11, 10, 9, 12};

QWidget *topLevel(const QString &name)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    }
    return nullptr;
}

QWidget *gadget(int number)
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *found = window->findChild<QWidget *>(QStringLiteral("gadget%1").arg(number)))
            return found;
    }
    return nullptr;
}

// Answers each message box with `answer` as it appears, noting its title.
class BoxAnswerer : public QObject
{
public:
    BoxAnswerer(QMessageBox::StandardButton answer, QStringList &titles)
        : m_answer(answer)
        , m_titles(titles)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                m_titles.append(box->windowTitle());
                box->button(m_answer)->click();
            }
        });
        m_timer.start(5);
    }

private:
    QTimer m_timer;
    QMessageBox::StandardButton m_answer;
    QStringList &m_titles;
};

} // namespace

class MainWindowWidgetsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestSession> m_ts;
    std::unique_ptr<Platform::QtWindowSystem> m_windows;
    std::unique_ptr<Session> m_session;

    Session &session() { return *m_session; }

    void openMainWindow()
    {
        const Logo logo = decodeLogo(*m_windows, embeddedLogo());
        QVERIFY(logo.image > 0);
        QVERIFY(MainWindow::open(session(), logo.image, logo.size));
        QWidget *window = topLevel(QStringLiteral("window0"));
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }

private Q_SLOTS:
    void init()
    {
        m_ts = std::make_unique<TestSession>();
        m_windows = std::make_unique<Platform::QtWindowSystem>(false);
        m_session = std::make_unique<Session>(m_ts->session->context, *m_windows, m_ts->opener);
    }

    void cleanup()
    {
        m_session.reset();
        m_windows.reset();
        m_ts.reset();
    }

    void mainWindowAsBuilt()
    {
        openMainWindow();
        QWidget *window = topLevel(QStringLiteral("window0"));
        QVERIFY(window->windowTitle().startsWith(QStringLiteral("KORVObinder 1.6")));
        QCOMPARE(window->size(), QSize(440, 640));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
        QCOMPARE(window->geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());

        QList<int> created;
        for (QObject *child : window->children()) {
            const QString name = child->objectName();
            if (name.startsWith(QStringLiteral("gadget")))
                created.append(name.mid(6).toInt());
        }
        QCOMPARE(created, mainGadgetsInOrder);

        auto *logo = qobject_cast<QLabel *>(gadget(0));
        QVERIFY(logo);
        QCOMPARE(logo->geometry(), QRect(10, 2, 409, 93));
        QCOMPARE(logo->pixmap().size(), QSize(405, 89));
        QVERIFY(logo->alignment() & Qt::AlignLeft);
        QVERIFY(logo->alignment() & Qt::AlignTop);

        auto *log = qobject_cast<QPlainTextEdit *>(gadget(20));
        QVERIFY(log);
        QCOMPARE(log->geometry(), QRect(3, 97, 436, 472));
        QVERIFY(log->isReadOnly());
        QVERIFY(log->textInteractionFlags() & Qt::TextSelectableByMouse);
        QCOMPARE(log->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(log->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QCOMPARE(log->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QCOMPARE(log->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xFF));
        QCOMPARE(log->palette().color(QPalette::Text), QColor(0x00, 0x00, 0x00));
        QVERIFY(log->toPlainText().isEmpty());

        auto *bar = qobject_cast<QProgressBar *>(gadget(3));
        QVERIFY(bar);
        QCOMPARE(bar->geometry(), QRect(4, 610, 439, 28));
        QCOMPARE(bar->orientation(), Qt::Horizontal);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 60);
        QCOMPARE(bar->value(), 0);

        for (const auto &[number, geometry, caption] : expectedMainButtons()) {
            auto *button = qobject_cast<QPushButton *>(gadget(number));
            QVERIFY2(button, qPrintable(caption));
            QCOMPARE(button->parentWidget(), window);
            QCOMPARE(button->geometry(), geometry);
            QCOMPARE(button->text(), caption);
            QVERIFY(!button->isCheckable());
            QVERIFY(button->isEnabled());
        }
        QVERIFY(!gadget(6));
    }

    void busySwitch()
    {
        openMainWindow();
        const QList<int> switched{4, 7, 8, 9, 10, 11};

        MainWindow::setBusy(*m_windows, Gadget::PrepareProject);
        for (int number : mainGadgetsInOrder)
            QVERIFY2(gadget(number)->isEnabled() != switched.contains(number), qPrintable(QString::number(number)));

        MainWindow::clearBusy(*m_windows, Gadget::PrepareProject);
        for (int number : mainGadgetsInOrder)
            QVERIFY2(gadget(number)->isEnabled(), qPrintable(QString::number(number)));
    }

    // Real clicks go through the window system's queue to their handlers, in
    // order; the window's close button ends the loop.
    void clicksReachTheirHandlers()
    {
        QVERIFY(writeFile(iniPath(*m_ts),
                          settingsFileBytes({QStringLiteral("alice"), QStringLiteral("pw"), m_ts->scratch(),
                                             QStringLiteral("No"), QStringLiteral("updates.example.test")})));
        openMainWindow();
        for (int number : {5, 4, 8, 7, 9, 10, 12, 11})
            QTest::mouseClick(gadget(number), Qt::LeftButton);

        QWidget *logo = gadget(0);
        const QPoint inside(50, 40);
        QTest::mouseClick(logo, Qt::LeftButton, Qt::NoModifier, inside);
        QTest::mouseClick(logo, Qt::LeftButton, physicalControl, inside);
        QTest::mouseClick(logo, Qt::RightButton, Qt::NoModifier, inside);
        QTest::mouseClick(gadget(20), Qt::LeftButton);
        topLevel(QStringLiteral("window0"))->close();

        ActionRecorder recorder;
        QStringList boxes;
        BoxAnswerer answerer(QMessageBox::No, boxes);
        QCOMPARE(runEventLoop(session(), recorder.actions()), Continuation::Continue);

        QCOMPARE(recorder.calls,
                 (QStringList{QStringLiteral("prepareProject"), QStringLiteral("upload"), QStringLiteral("priceInfo"),
                              QStringLiteral("estimate"), QStringLiteral("about"), QStringLiteral("readHelp"),
                              QStringLiteral("checkForUpdates(1)"), QStringLiteral("logo")}));
        // "Config": the update question, then the modify question, both answered No.
        QCOMPARE(boxes, (QStringList{QStringLiteral("Check for updates"), QStringLiteral("Modify user info")}));
        QCOMPARE(settingsLine(*m_ts, 8), QStringLiteral("No"));
        // The window is still there: only the program closes it.
        QVERIFY(topLevel(QStringLiteral("window0")));
    }

    // The chooser in front of the main window: the main window's buttons are
    // read and dropped until "LIGHTWAVE" is pressed.
    void chooserInFront()
    {
        openMainWindow();
        QWidget *main = topLevel(QStringLiteral("window0"));
        QTRY_COMPARE(QApplication::activeWindow(), main);

        QRect chooserGeometry;
        QString chooserTitle;
        bool checkable = false;
        QRect buttonGeometry;
        QString caption;
        QTimer::singleShot(0, this, [&] {
            QWidget *chooser = topLevel(QStringLiteral("window1"));
            QVERIFY(chooser);
            chooserGeometry = chooser->geometry();
            chooserTitle = chooser->windowTitle();
            QVERIFY(chooser->windowFlags() & Qt::WindowCloseButtonHint);
            auto *button = qobject_cast<QPushButton *>(gadget(22));
            QVERIFY(button);
            checkable = button->isCheckable();
            buttonGeometry = button->geometry();
            caption = button->text();
            QTest::mouseClick(gadget(Gadget::About), Qt::LeftButton);
            QTest::mouseClick(gadget(Gadget::Upload), Qt::LeftButton);
            QTest::mouseClick(button, Qt::LeftButton);
        });
        QCOMPARE(ApplicationChooser::choose(session()), Continuation::Continue);

        QCOMPARE(session().applicationName(), QStringLiteral("Lightwave"));
        QCOMPARE(chooserTitle, QStringLiteral("Choose your application"));
        QCOMPARE(chooserGeometry.size(), QSize(367, 60));
        QCOMPARE(chooserGeometry.center(), main->geometry().center());
        QVERIFY(checkable);
        QCOMPARE(buttonGeometry, QRect(95, 10, 170, 40));
        QCOMPARE(caption, QStringLiteral("LIGHTWAVE"));
        QVERIFY(!topLevel(QStringLiteral("window1")));

        // The presses made during the choice are gone; the next event is a new one.
        topLevel(QStringLiteral("window0"))->close();
        ActionRecorder recorder;
        QCOMPARE(runEventLoop(session(), recorder.actions()), Continuation::Continue);
        QVERIFY(recorder.calls.isEmpty());
    }

    // Closing the main window instead of choosing ends the choice with EndProgram.
    void mainWindowClosedDuringTheChoice()
    {
        openMainWindow();
        QTimer::singleShot(0, this, [] { topLevel(QStringLiteral("window0"))->close(); });
        QCOMPARE(ApplicationChooser::choose(session()), Continuation::EndProgram);
        QVERIFY(!session().application);
        QVERIFY(!topLevel(QStringLiteral("window1")));
    }

    // A logo that could not be decoded leaves the gadget empty, and it still answers a click.
    void emptyLogoStillClickable()
    {
        QVERIFY(MainWindow::open(session(), decodeLogo(*m_windows, QByteArray("not a PNG")).image, QSize()));
        QVERIFY(QTest::qWaitForWindowExposed(topLevel(QStringLiteral("window0"))));
        auto *logo = qobject_cast<QLabel *>(gadget(0));
        QVERIFY(logo);
        QVERIFY(logo->pixmap().isNull());
        QCOMPARE(logo->geometry(), QRect(10, 2, 403, 89));

        QTest::mouseClick(logo, Qt::LeftButton, Qt::NoModifier, QPoint(50, 40));
        topLevel(QStringLiteral("window0"))->close();
        ActionRecorder recorder;
        QCOMPARE(runEventLoop(session(), recorder.actions()), Continuation::Continue);
        QCOMPARE(recorder.calls, QStringList{QStringLiteral("logo")});
    }

    // A double click on the logo acts once, on its first click.
    void logoDoubleClick()
    {
        openMainWindow();
        // As the platform delivers one: press, release, press, the double-click event, release.
        QWidget *logo = gadget(0);
        const QPoint inside(50, 40);
        QTest::mouseClick(logo, Qt::LeftButton, Qt::NoModifier, inside);
        QTest::mousePress(logo, Qt::LeftButton, Qt::NoModifier, inside);
        QTest::mouseDClick(logo, Qt::LeftButton, Qt::NoModifier, inside);
        QTest::mouseRelease(logo, Qt::LeftButton, Qt::NoModifier, inside);
        topLevel(QStringLiteral("window0"))->close();

        ActionRecorder recorder;
        QCOMPARE(runEventLoop(session(), recorder.actions()), Continuation::Continue);
        QCOMPARE(recorder.calls, QStringList{QStringLiteral("logo")});
    }
};

QTEST_MAIN(MainWindowWidgetsTest)
#include "tst_main_window_widgets.moc"
