#pragma once

#include "toolkit/MessageKind.h"

#include <QMessageBox>
#include <QString>

// What a kind shows in Qt's message box: its icon, its standard buttons and
// the button that Enter presses.
struct MessageStyle
{
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
};

MessageStyle styleOf(MessageKind kind);

// Shows a modal message box and returns the button pressed; Escape and
// closing the box answer No, Cancel or OK, as Qt's box does. An empty title
// shows the program's name.
QMessageBox::StandardButton messageBox(const QString &text, MessageKind kind, const QString &title = {});
