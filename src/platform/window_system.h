#pragma once

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace Platform {

enum class EventKind
{
    Gadget,
    CloseRequest,
    Menu,
    Other,
};

// How the image gadget was clicked; only Plain is a click the program acts on.
enum class ClickKind
{
    None,
    Plain,
    Control,
    DoubleClickSecond,
    Right,
};

struct Event
{
    EventKind kind = EventKind::Other;
    int window = -1;
    int gadget = -1;
    ClickKind click = ClickKind::None;
};

enum class Buttons
{
    Ok,
    YesNo,
};

enum class Answer
{
    Ok,
    Yes,
    No,
};

enum class Placement
{
    CentredOnScreen,
    CentredOverActiveWindow,
};

struct WindowLayout
{
    int number = 0;
    QString title;
    QSize contentSize;
    bool closeButton = true;
    Placement placement = Placement::CentredOnScreen;
    // Where the window opens when it should be centred over the active window
    // but no window is active.
    QPoint fallbackPosition;
};

// The only road to the window system: windows and gadgets known by fixed
// numbers, the event queue and the modal dialogues. The Qt implementation
// lives in the widgets library; tests use a scripted double.
class WindowSystem
{
public:
    virtual ~WindowSystem() = default;

    // Returns an image handle (> 0), or 0 when the bytes are not a decodable PNG.
    virtual int decodeImage(const QByteArray &png) = 0;

    virtual bool openWindow(const WindowLayout &layout) = 0;
    virtual void closeWindow(int window) = 0;

    // Gadget numbers are unique across windows. An image handle of 0 leaves the image gadget empty;
    // the gadget is then still clickable.
    virtual void addImage(int window, int gadget, const QRect &geometry, int image) = 0;
    // Colours as 0xRRGGBB.
    virtual void addTextBox(int window, int gadget, const QRect &geometry, quint32 background, quint32 text) = 0;
    virtual void addProgressBar(int window, int gadget, const QRect &geometry, int minimum, int maximum) = 0;
    virtual void addButton(int window, int gadget, const QRect &geometry, const QString &caption,
                           bool toggle = false) = 0;

    virtual void setGadgetEnabled(int gadget, bool enabled) = 0;

    virtual void clearText(int gadget) = 0;
    virtual void appendLine(int gadget, const QString &line) = 0;
    virtual void insertLine(int gadget, int index, const QString &line) = 0;
    virtual void setProgress(int gadget, int value) = 0;

    // Blocks until the next event is queued and takes it from the queue.
    virtual Event waitEvent() = 0;
    // Lets the window system handle what is pending (painting included) without
    // blocking, and throws away every event that this produces.
    virtual void processPendingEvents() = 0;

    virtual Answer messageBox(const QString &title, const QString &text, Buttons buttons) = 0;
    // OK only; returns the empty text when the box is closed with its close button.
    virtual QString inputBox(const QString &title, const QString &prompt, const QString &prefilled) = 0;
    // Returns the chosen directory with a "/" appended when it has none, or the
    // empty text when the user cancels.
    virtual QString chooseDirectory(const QString &title, const QString &startPath) = 0;
};

} // namespace Platform
