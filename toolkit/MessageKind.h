#pragma once

// The kinds of message box the program shows.
enum class MessageKind {
    Stop,              // stop icon, OK
    Warning,           // exclamation icon, OK
    Information,       // information icon, OK
    OkCancelQuestion,  // question icon, OK and Cancel, OK the default
    YesNoInformation,  // information icon, Yes and No, No the default
    YesNoWarning,      // exclamation icon, Yes and No, No the default
};
