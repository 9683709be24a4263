#pragma once

#include <QMessageBox>
#include <QString>

// The kinds of message box the program shows.
enum class MessageKind {
    Stop,              // stop icon, OK
    Warning,           // exclamation icon, OK
    Information,       // information icon, OK
    OkCancelQuestion,  // question icon, OK and Cancel, OK the default
    YesNoInformation,  // information icon, Yes and No, No the default
    YesNoWarning,      // exclamation icon, Yes and No, No the default
};

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
