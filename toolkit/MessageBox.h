#pragma once

#include <QString>

#include <vector>

// The kinds of message box the program shows: an icon and a set of buttons.
enum class MessageKind {
    Stop,              // stop icon, OK
    Warning,           // exclamation icon, OK
    Information,       // information icon, OK
    OkCancelQuestion,  // question icon, OK and Cancel, OK the default
    YesNoInformation,  // information icon, Yes and No, No the default
    YesNoWarning,      // exclamation icon, Yes and No, No the default
};

// The button that answered a message box.
enum class MessageAnswer { Ok, Cancel, Yes, No };

// The buttons of a kind, left to right.
std::vector<MessageAnswer> answersOf(MessageKind kind);
// The button that Enter presses.
MessageAnswer defaultAnswer(MessageKind kind);
// The answer that Escape or closing the box gives.
MessageAnswer escapeAnswer(MessageKind kind);

// Shows a modal message box and returns the button pressed. An empty title
// shows the program's name.
MessageAnswer messageBox(const QString &text, MessageKind kind, const QString &title = {});
