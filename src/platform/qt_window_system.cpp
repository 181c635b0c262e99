#include "qt_window_system.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QThread>
#include <functional>

namespace Platform {

namespace {

constexpr int activationWaitMilliseconds = 500;
constexpr int activationPollMilliseconds = 10;

// Qt on macOS reports the Command key as Control; the physical Control key is Meta there.
#if defined(Q_OS_MACOS)
constexpr Qt::KeyboardModifier physicalControl = Qt::MetaModifier;
#else
constexpr Qt::KeyboardModifier physicalControl = Qt::ControlModifier;
#endif

// A top-level window that never closes itself: a close request only goes to the queue.
class NumberedWindow : public QWidget
{
public:
    explicit NumberedWindow(std::function<void()> closeRequested)
        : m_closeRequested(std::move(closeRequested))
    {}

protected:
    void closeEvent(QCloseEvent *event) override
    {
        event->ignore();
        m_closeRequested();
    }

private:
    std::function<void()> m_closeRequested;
};

// An image shown unscaled in a thin border that reports how it was clicked.
class ImageGadget : public QLabel
{
public:
    ImageGadget(QWidget *parent, std::function<void(ClickKind)> clicked)
        : QLabel(parent)
        , m_clicked(std::move(clicked))
    {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
        // One point of frame and one of margin: the 2-point border the gadget is sized for.
        setMargin(1);
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_secondClick = false;
    }

    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_secondClick = true;
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (!rect().contains(event->position().toPoint()))
            return;
        if (event->button() == Qt::RightButton) {
            m_clicked(ClickKind::Right);
        } else if (event->button() == Qt::LeftButton) {
            if (m_secondClick)
                m_clicked(ClickKind::DoubleClickSecond);
            else if (event->modifiers() & physicalControl)
                m_clicked(ClickKind::Control);
            else
                m_clicked(ClickKind::Plain);
            m_secondClick = false;
        }
    }

private:
    std::function<void(ClickKind)> m_clicked;
    bool m_secondClick = false;
};

QColor colour(quint32 rgb)
{
    return QColor::fromRgb(QRgb(0xff000000u | (rgb & 0xffffffu)));
}

// Activation reaches the program asynchronously on X11, so a window shown a
// moment ago may not be the active one yet: give it a short, bounded while.
const QWidget *activeWindowSoon()
{
    const QDeadlineTimer deadline(activationWaitMilliseconds);
    while (!QApplication::activeWindow() && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        QThread::msleep(activationPollMilliseconds);
    }
    return QApplication::activeWindow();
}

QRect centred(const QSize &size, const QRect &area)
{
    QRect rect(QPoint(), size);
    rect.moveCenter(area.center());
    return rect;
}

} // namespace

QtWindowSystem::QtWindowSystem(bool nativeDialogues)
    : m_nativeDialogues(nativeDialogues)
{
    // The program alone decides when it ends.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    qApp->installEventFilter(this);
}

QtWindowSystem::~QtWindowSystem()
{
    qApp->removeEventFilter(this);
    for (const QPointer<QWidget> &window : std::as_const(m_windows))
        delete window.data();
}

int QtWindowSystem::decodeImage(const QByteArray &png)
{
    QPixmap pixmap;
    if (!pixmap.loadFromData(png, "PNG"))
        return 0;
    const int handle = m_nextImage++;
    m_images.insert(handle, pixmap);
    return handle;
}

bool QtWindowSystem::openWindow(const WindowLayout &layout)
{
    if (m_windows.value(layout.number))
        return false;
    const int number = layout.number;
    auto *window = new NumberedWindow([this, number] { queue({EventKind::CloseRequest, number}); });
    window->setObjectName(QStringLiteral("window%1").arg(number));
    window->setWindowTitle(layout.title);
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (layout.closeButton)
        flags |= Qt::WindowCloseButtonHint;
    window->setWindowFlags(flags);
    window->setFixedSize(layout.contentSize);

    QRect geometry(layout.fallbackPosition, layout.contentSize);
    const QWidget *active = layout.placement == Placement::CentredOverActiveWindow ? activeWindowSoon() : nullptr;
    if (layout.placement == Placement::CentredOnScreen) {
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            geometry = centred(layout.contentSize, screen->availableGeometry());
    } else if (active) {
        geometry = centred(layout.contentSize, active->geometry());
    }
    window->setGeometry(geometry);

    m_windows.insert(number, window);
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

void QtWindowSystem::closeWindow(int window)
{
    delete m_windows.take(window).data();
    for (auto it = m_gadgets.begin(); it != m_gadgets.end();) {
        if (it->window == window)
            it = m_gadgets.erase(it);
        else
            ++it;
    }
}

void QtWindowSystem::place(int window, int gadget, QWidget *widget, const QRect &geometry)
{
    delete m_gadgets.take(gadget).widget.data();
    widget->setObjectName(QStringLiteral("gadget%1").arg(gadget));
    widget->setGeometry(geometry);
    widget->show();
    m_gadgets.insert(gadget, {widget, window});
}

template <typename Widget>
Widget *QtWindowSystem::find(int gadget) const
{
    const auto it = m_gadgets.constFind(gadget);
    return it == m_gadgets.cend() ? nullptr : qobject_cast<Widget *>(it->widget.data());
}

void QtWindowSystem::addImage(int window, int gadget, const QRect &geometry, int image)
{
    QWidget *parent = m_windows.value(window);
    if (!parent)
        return;
    auto *label = new ImageGadget(parent, [this, window, gadget](ClickKind click) {
        queue({EventKind::Gadget, window, gadget, click});
    });
    if (m_images.contains(image))
        label->setPixmap(m_images.value(image));
    place(window, gadget, label, geometry);
}

void QtWindowSystem::addTextBox(int window, int gadget, const QRect &geometry, quint32 background, quint32 text)
{
    QWidget *parent = m_windows.value(window);
    if (!parent)
        return;
    auto *box = new QPlainTextEdit(parent);
    box->setReadOnly(true);
    // Selectable with the mouse (and copied with the keyboard), without a blinking caret in a log.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QPalette palette = box->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, colour(background));
        palette.setColor(group, QPalette::Text, colour(text));
    }
    box->setPalette(palette);
    place(window, gadget, box, geometry);
}

void QtWindowSystem::addProgressBar(int window, int gadget, const QRect &geometry, int minimum, int maximum)
{
    QWidget *parent = m_windows.value(window);
    if (!parent)
        return;
    auto *bar = new QProgressBar(parent);
    bar->setOrientation(Qt::Horizontal);
    bar->setRange(minimum, maximum);
    bar->setValue(minimum);
    place(window, gadget, bar, geometry);
}

void QtWindowSystem::addButton(int window, int gadget, const QRect &geometry, const QString &caption, bool toggle)
{
    QWidget *parent = m_windows.value(window);
    if (!parent)
        return;
    auto *button = new QPushButton(caption, parent);
    button->setCheckable(toggle);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, window, gadget] {
        queue({EventKind::Gadget, window, gadget});
    });
    place(window, gadget, button, geometry);
}

void QtWindowSystem::setGadgetEnabled(int gadget, bool enabled)
{
    if (QWidget *widget = m_gadgets.value(gadget).widget)
        widget->setEnabled(enabled);
}

void QtWindowSystem::clearText(int gadget)
{
    if (auto *box = find<QPlainTextEdit>(gadget)) {
        box->clear();
        m_gadgets[gadget].lines = 0;
    }
}

void QtWindowSystem::appendLine(int gadget, const QString &line)
{
    insertLine(gadget, m_gadgets.value(gadget).lines, line);
}

void QtWindowSystem::insertLine(int gadget, int index, const QString &line)
{
    auto *box = find<QPlainTextEdit>(gadget);
    if (!box)
        return;
    int &lines = m_gadgets[gadget].lines;
    QScrollBar *scroll = box->verticalScrollBar();
    const bool followEnd = scroll->value() == scroll->maximum();
    QTextCursor cursor(box->document());
    if (lines == 0) {
        cursor.insertText(line);
    } else if (index >= lines) {
        cursor.movePosition(QTextCursor::End);
        cursor.insertBlock();
        cursor.insertText(line);
    } else {
        cursor.setPosition(box->document()->findBlockByNumber(qMax(index, 0)).position());
        cursor.insertText(line);
        cursor.insertBlock();
    }
    ++lines;
    // A log that showed its last line keeps showing it.
    if (followEnd && index >= lines - 1)
        scroll->setValue(scroll->maximum());
}

void QtWindowSystem::setProgress(int gadget, int value)
{
    if (auto *bar = find<QProgressBar>(gadget))
        bar->setValue(value);
}

void QtWindowSystem::queue(const Event &event)
{
    m_events.push_back(event);
}

Event QtWindowSystem::waitEvent()
{
    while (m_events.empty())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const Event event = m_events.front();
    m_events.pop_front();
    return event;
}

void QtWindowSystem::processPendingEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    m_events.clear();
}

bool QtWindowSystem::eventFilter(QObject *watched, QEvent *event)
{
    // Quit from the application menu, Cmd-Q or the system arrives at the
    // application object; it is refused and handed on as a menu event.
    if (watched == qApp && (event->type() == QEvent::Quit || event->type() == QEvent::Close)) {
        event->ignore();
        queue({EventKind::Menu});
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace Platform
