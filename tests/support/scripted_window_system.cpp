#include "scripted_window_system.h"

#include <QImage>

using Platform::Answer;
using Platform::Buttons;
using Platform::Event;
using Platform::EventKind;

namespace {

QString kindName(ScriptedWindowSystem::DialogueKind kind)
{
    switch (kind) {
    case ScriptedWindowSystem::DialogueKind::Message:
        return QStringLiteral("message box");
    case ScriptedWindowSystem::DialogueKind::Input:
        return QStringLiteral("input box");
    case ScriptedWindowSystem::DialogueKind::Directory:
        return QStringLiteral("directory chooser");
    }
    return {};
}

bool sameDialogue(const ScriptedWindowSystem::Dialogue &a, const ScriptedWindowSystem::Dialogue &b)
{
    return a.kind == b.kind && a.title == b.title && a.text == b.text && a.buttons == b.buttons &&
           a.prefilled == b.prefilled;
}

} // namespace

QString describe(const ScriptedWindowSystem::Dialogue &dialogue)
{
    QString buttons;
    if (dialogue.kind == ScriptedWindowSystem::DialogueKind::Message)
        buttons = dialogue.buttons == Buttons::Ok ? QStringLiteral(" [OK]") : QStringLiteral(" [Yes/No]");
    return QStringLiteral("%1 \"%2\" / \"%3\"%4")
        .arg(kindName(dialogue.kind), dialogue.title, QString(dialogue.text).replace(u'\n', QLatin1String("\\n")),
             buttons);
}

void ScriptedWindowSystem::queueEvent(const Event &event)
{
    m_events.append(event);
}

void ScriptedWindowSystem::queueClick(int gadget, Platform::ClickKind click)
{
    Event event;
    event.kind = EventKind::Gadget;
    event.gadget = gadget;
    event.window = gadgets.contains(gadget) ? gadgets.value(gadget).window : -1;
    event.click = click;
    m_events.append(event);
}

void ScriptedWindowSystem::queueClose(int window)
{
    Event event;
    event.kind = EventKind::CloseRequest;
    event.window = window;
    m_events.append(event);
}

void ScriptedWindowSystem::queuePendingEvent(const Event &event)
{
    m_pendingEvents.append(event);
}

void ScriptedWindowSystem::expectMessage(const QString &title, const QString &text, Buttons buttons, Answer answer,
                                         std::function<void()> during)
{
    Expectation expectation;
    expectation.dialogue = {DialogueKind::Message, title, text, buttons, {}};
    expectation.answer = answer;
    expectation.during = std::move(during);
    m_expected.append(expectation);
}

void ScriptedWindowSystem::expectInput(const QString &title, const QString &prompt, const QString &answer)
{
    Expectation expectation;
    expectation.dialogue = {DialogueKind::Input, title, prompt, Buttons::Ok, {}};
    expectation.textAnswer = answer;
    m_expected.append(expectation);
}

void ScriptedWindowSystem::expectDirectory(const QString &title, const QString &startPath, const QString &answer)
{
    Expectation expectation;
    expectation.dialogue = {DialogueKind::Directory, title, startPath, Buttons::Ok, {}};
    expectation.textAnswer = answer;
    m_expected.append(expectation);
}

QString ScriptedWindowSystem::problems() const
{
    QStringList report = m_problems;
    for (const Expectation &missing : m_expected)
        report.append(QStringLiteral("expected but never shown: ") + describe(missing.dialogue));
    return report.join(u'\n');
}

const ScriptedWindowSystem::Expectation *ScriptedWindowSystem::take(const Dialogue &actual)
{
    shown.append(actual);
    if (m_expected.isEmpty()) {
        m_problems.append(QStringLiteral("box %1 unexpected: %2").arg(shown.size()).arg(describe(actual)));
        return nullptr;
    }
    m_current = m_expected.takeFirst();
    if (!sameDialogue(m_current.dialogue, actual)) {
        m_problems.append(QStringLiteral("box %1:\n  expected %2\n  but came %3")
                              .arg(shown.size())
                              .arg(describe(m_current.dialogue), describe(actual)));
    }
    if (m_current.during)
        m_current.during();
    return &m_current;
}

void ScriptedWindowSystem::addGadget(int gadget, const Gadget &state)
{
    if (gadgets.contains(gadget))
        m_problems.append(QStringLiteral("gadget %1 created twice").arg(gadget));
    gadgets.insert(gadget, state);
    gadgetsCreated.append(gadget);
}

int ScriptedWindowSystem::decodeImage(const QByteArray &png)
{
    const QImage image = QImage::fromData(png, "PNG");
    return image.isNull() ? 0 : ++m_images;
}

bool ScriptedWindowSystem::openWindow(const Platform::WindowLayout &layout)
{
    if (failingWindows.contains(layout.number))
        return false;
    openWindows.insert(layout.number, layout);
    windowsOpened.append(layout.number);
    return true;
}

void ScriptedWindowSystem::closeWindow(int window)
{
    openWindows.remove(window);
    for (auto it = gadgets.begin(); it != gadgets.end();) {
        if (it->window == window)
            it = gadgets.erase(it);
        else
            ++it;
    }
}

void ScriptedWindowSystem::addImage(int window, int gadget, const QRect &geometry, int image)
{
    Gadget state;
    state.kind = GadgetKind::Image;
    state.window = window;
    state.geometry = geometry;
    state.image = image;
    addGadget(gadget, state);
}

void ScriptedWindowSystem::addTextBox(int window, int gadget, const QRect &geometry, quint32 background, quint32 text)
{
    Gadget state;
    state.kind = GadgetKind::TextBox;
    state.window = window;
    state.geometry = geometry;
    state.background = background;
    state.textColour = text;
    addGadget(gadget, state);
}

void ScriptedWindowSystem::addProgressBar(int window, int gadget, const QRect &geometry, int minimum, int maximum)
{
    Gadget state;
    state.kind = GadgetKind::ProgressBar;
    state.window = window;
    state.geometry = geometry;
    state.minimum = minimum;
    state.maximum = maximum;
    state.progress = minimum;
    addGadget(gadget, state);
}

void ScriptedWindowSystem::addButton(int window, int gadget, const QRect &geometry, const QString &caption, bool toggle)
{
    Gadget state;
    state.kind = GadgetKind::Button;
    state.window = window;
    state.geometry = geometry;
    state.caption = caption;
    state.toggle = toggle;
    addGadget(gadget, state);
}

void ScriptedWindowSystem::setGadgetEnabled(int gadget, bool enabled)
{
    if (gadgets.contains(gadget))
        gadgets[gadget].enabled = enabled;
}

void ScriptedWindowSystem::clearText(int gadget)
{
    if (gadgets.contains(gadget))
        gadgets[gadget].lines.clear();
}

void ScriptedWindowSystem::appendLine(int gadget, const QString &line)
{
    if (gadgets.contains(gadget))
        gadgets[gadget].lines.append(line);
}

void ScriptedWindowSystem::insertLine(int gadget, int index, const QString &line)
{
    if (!gadgets.contains(gadget))
        return;
    QStringList &lines = gadgets[gadget].lines;
    lines.insert(qBound(0, index, int(lines.size())), line);
}

void ScriptedWindowSystem::setProgress(int gadget, int value)
{
    if (gadgets.contains(gadget))
        gadgets[gadget].progress = value;
}

Event ScriptedWindowSystem::waitEvent()
{
    if (m_events.isEmpty()) {
        // A real wait would hang the test; end the program's loops instead.
        m_problems.append(QStringLiteral("the program waited for an event but none was queued"));
        Event close;
        close.kind = EventKind::CloseRequest;
        close.window = 0;
        return close;
    }
    return m_events.takeFirst();
}

void ScriptedWindowSystem::processPendingEvents()
{
    ++processPendingCalls;
    pendingEventsThrownAway += m_pendingEvents.size();
    m_pendingEvents.clear();
}

Answer ScriptedWindowSystem::messageBox(const QString &title, const QString &text, Buttons buttons)
{
    const Expectation *expectation = take({DialogueKind::Message, title, text, buttons, {}});
    if (!expectation)
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    return expectation->answer;
}

QString ScriptedWindowSystem::inputBox(const QString &title, const QString &prompt, const QString &prefilled)
{
    const Expectation *expectation = take({DialogueKind::Input, title, prompt, Buttons::Ok, prefilled});
    return expectation ? expectation->textAnswer : QString();
}

QString ScriptedWindowSystem::chooseDirectory(const QString &title, const QString &startPath)
{
    const Expectation *expectation = take({DialogueKind::Directory, title, startPath, Buttons::Ok, {}});
    return expectation ? expectation->textAnswer : QString();
}
