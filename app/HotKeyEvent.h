#pragma once

#include <QEvent>

// A press of a registered hot key, raised on the control that receives it.
class HotKeyEvent : public QEvent
{
public:
    explicit HotKeyEvent(int hotKeyId);

    static QEvent::Type eventType();
    // The identifier that registerHotKey returned for the key pressed.
    int hotKeyId() const;

private:
    int m_hotKeyId;
};
