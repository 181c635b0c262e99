#pragma once

#include "window_system.h"

#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <deque>

class QWidget;

namespace Platform {

// The window system on Qt Widgets. Whatever Qt reports (clicks, close and quit
// requests) is turned into events of the layer's own queue, which the program
// reads one at a time; Qt itself never closes a window or ends the program.
class QtWindowSystem : public QObject, public WindowSystem
{
    Q_OBJECT

public:
    // Without native dialogues the boxes are Qt's own widgets, which tests can drive.
    explicit QtWindowSystem(bool nativeDialogues = true);
    ~QtWindowSystem() override;

    int decodeImage(const QByteArray &png) override;

    bool openWindow(const WindowLayout &layout) override;
    void closeWindow(int window) override;

    void addImage(int window, int gadget, const QRect &geometry, int image) override;
    void addTextBox(int window, int gadget, const QRect &geometry, quint32 background, quint32 text) override;
    void addProgressBar(int window, int gadget, const QRect &geometry, int minimum, int maximum) override;
    void addButton(int window, int gadget, const QRect &geometry, const QString &caption, bool toggle) override;

    void setGadgetEnabled(int gadget, bool enabled) override;

    void clearText(int gadget) override;
    void appendLine(int gadget, const QString &line) override;
    void insertLine(int gadget, int index, const QString &line) override;
    void setProgress(int gadget, int value) override;

    Event waitEvent() override;
    void processPendingEvents() override;

    Answer messageBox(const QString &title, const QString &text, Buttons buttons) override;
    QString inputBox(const QString &title, const QString &prompt, const QString &prefilled) override;
    QString chooseDirectory(const QString &title, const QString &startPath) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Gadget
    {
        QPointer<QWidget> widget;
        int window = -1;
        // Lines of a text box; an empty line leaves no trace in the document's own count.
        int lines = 0;
    };

    void queue(const Event &event);
    // Places the new gadget in its window, replacing one of the same number.
    void place(int window, int gadget, QWidget *widget, const QRect &geometry);
    template <typename Widget>
    Widget *find(int gadget) const;
    QWidget *dialogueParent() const;

    bool m_nativeDialogues;
    std::deque<Event> m_events;
    QHash<int, QPixmap> m_images;
    QHash<int, QPointer<QWidget>> m_windows;
    QHash<int, Gadget> m_gadgets;
    int m_nextImage = 1;
};

} // namespace Platform
