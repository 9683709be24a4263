#include "HotKeyEvent.h"

HotKeyEvent::HotKeyEvent(int hotKeyId)
    : QEvent(eventType())
    , m_hotKeyId(hotKeyId)
{
}

QEvent::Type HotKeyEvent::eventType()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

int HotKeyEvent::hotKeyId() const
{
    return m_hotKeyId;
}
