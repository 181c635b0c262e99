#pragma once

#include "platform/window_system.h"

#include <QList>
#include <QMap>
#include <QStringList>
#include <functional>

// The window system double of the tests. A test queues the events the program
// will read and the answers of the person in front of it; the double records
// every window, gadget and box, and keeps a report of every box that was not
// the one expected next.
class ScriptedWindowSystem : public Platform::WindowSystem
{
public:
    enum class DialogueKind
    {
        Message,
        Input,
        Directory,
    };

    struct Dialogue
    {
        DialogueKind kind = DialogueKind::Message;
        QString title;
        QString text; // the message text, the input prompt or the chooser's start path
        Platform::Buttons buttons = Platform::Buttons::Ok;
        QString prefilled;
    };

    enum class GadgetKind
    {
        Image,
        TextBox,
        ProgressBar,
        Button,
    };

    struct Gadget
    {
        GadgetKind kind = GadgetKind::Button;
        int window = -1;
        QRect geometry;
        QString caption;
        bool toggle = false;
        bool enabled = true;
        int image = 0;
        quint32 background = 0;
        quint32 textColour = 0;
        int minimum = 0;
        int maximum = 0;
        int progress = 0;
        QStringList lines;
    };

    // --- script -----------------------------------------------------------
    void queueEvent(const Platform::Event &event);
    void queueClick(int gadget, Platform::ClickKind click = Platform::ClickKind::None);
    void queueClose(int window);
    // Events that arrive while the program only processes pending events (for
    // example during a wait); they must be thrown away, not read later.
    void queuePendingEvent(const Platform::Event &event);

    // `during` runs while the box is shown, before it is answered.
    void expectMessage(const QString &title, const QString &text, Platform::Buttons buttons,
                       Platform::Answer answer = Platform::Answer::Ok, std::function<void()> during = {});
    void expectInput(const QString &title, const QString &prompt, const QString &answer);
    void expectDirectory(const QString &title, const QString &startPath, const QString &answer);

    // Empty when every box came as expected and every expected box came.
    QString problems() const;

    // --- what happened ----------------------------------------------------
    QList<Dialogue> shown;
    QMap<int, Platform::WindowLayout> openWindows;
    QList<int> windowsOpened;
    QList<int> gadgetsCreated;
    QMap<int, Gadget> gadgets;
    int pendingEventsThrownAway = 0;
    int processPendingCalls = 0;
    // Makes openWindow fail for these window numbers.
    QList<int> failingWindows;

    bool isEnabled(int gadget) const { return gadgets.value(gadget).enabled; }
    QStringList lines(int gadget) const { return gadgets.value(gadget).lines; }
    int progress(int gadget) const { return gadgets.value(gadget).progress; }

    // --- WindowSystem -----------------------------------------------------
    int decodeImage(const QByteArray &png) override;
    bool openWindow(const Platform::WindowLayout &layout) override;
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
    Platform::Event waitEvent() override;
    void processPendingEvents() override;
    Platform::Answer messageBox(const QString &title, const QString &text, Platform::Buttons buttons) override;
    QString inputBox(const QString &title, const QString &prompt, const QString &prefilled) override;
    QString chooseDirectory(const QString &title, const QString &startPath) override;

private:
    struct Expectation
    {
        Dialogue dialogue;
        Platform::Answer answer = Platform::Answer::Ok;
        QString textAnswer;
        std::function<void()> during;
    };

    const Expectation *take(const Dialogue &actual);
    void addGadget(int gadget, const Gadget &state);

    QList<Platform::Event> m_events;
    QList<Platform::Event> m_pendingEvents;
    QList<Expectation> m_expected;
    Expectation m_current;
    QStringList m_problems;
    int m_images = 0;
};

QString describe(const ScriptedWindowSystem::Dialogue &dialogue);

// Fails the test with the double's report when the dialogue went other than scripted.
#define KORVO_VERIFY_SCRIPT(windows)                                                                                   \
    do {                                                                                                               \
        const QString problems_ = (windows).problems();                                                                \
        QVERIFY2(problems_.isEmpty(), qPrintable(problems_));                                                          \
    } while (false)
