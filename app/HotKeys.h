#pragma once

class QObject;
class QWidget;

// Virtual-key codes as the standard keyboard values.
namespace VirtualKey {
constexpr int Left = 0x25;
constexpr int Up = 0x26;
constexpr int Right = 0x27;
constexpr int Down = 0x28;
}

// Modifier-key states as the standard hot-key values.
namespace HotKeyModifiers {
constexpr unsigned None = 0x0;
constexpr unsigned Alt = 0x1;
constexpr unsigned Control = 0x2;
constexpr unsigned Shift = 0x4;
constexpr unsigned Win = 0x8;
}

// Makes modifiers + virtualKey a hot key of window: while window is the
// active window of this program, each press of the key is taken from the
// control that has the focus and raised as a HotKeyEvent with the returned
// identifier on receiver, from the event loop. Other programs never lose the
// key. A press the keyboard repeats while the previous press of the same hot
// key is still waiting or being handled is dropped, so holding a key down
// never piles up stale presses. Returns 0 when the key is unknown, the
// modifiers are not valid or window has that hot key already.
int registerHotKey(QWidget *window, QObject *receiver, unsigned modifiers, int virtualKey);

// Releases a hot key; false when the identifier is not registered.
bool unregisterHotKey(int id);
