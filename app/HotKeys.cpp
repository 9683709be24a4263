#include "HotKeys.h"

#include "HotKeyRegistry.h"

int registerHotKey(QWidget *window, QObject *receiver, unsigned modifiers, int virtualKey)
{
    return HotKeyRegistry::instance().add(window, receiver, modifiers, virtualKey);
}

bool unregisterHotKey(int id)
{
    return HotKeyRegistry::instance().remove(id);
}
