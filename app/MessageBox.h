#pragma once

#include <QString>

#include <vector>

// Button ids returned by messageBox, as the standard message-box values.
enum MessageBoxButtonId : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7,
};

// The standard message-box flags this program uses: 0x10 stop icon,
// 0x21 OK/Cancel with a question icon, 0x30 exclamation icon, 0x40
// information icon, 0x144 Yes/No with an information icon and No as default.
namespace MessageBoxFlags {
constexpr unsigned ButtonMask = 0x0F;
constexpr unsigned IconMask = 0xF0;
constexpr unsigned DefaultButtonMask = 0xF00;
constexpr unsigned OkCancel = 0x01;
constexpr unsigned AbortRetryIgnore = 0x02;
constexpr unsigned YesNoCancel = 0x03;
constexpr unsigned YesNo = 0x04;
constexpr unsigned RetryCancel = 0x05;
constexpr unsigned IconStop = 0x10;
constexpr unsigned IconQuestion = 0x20;
constexpr unsigned IconExclamation = 0x30;
constexpr unsigned IconInformation = 0x40;
constexpr unsigned DefaultButton2 = 0x100;
constexpr unsigned DefaultButton3 = 0x200;
}

// The buttons a message box with these flags shows, left to right.
std::vector<int> messageBoxButtons(unsigned flags);
// The button that Enter presses in such a box.
int messageBoxDefaultButton(unsigned flags);
// The button that Escape or closing the box answers with.
int messageBoxEscapeButton(unsigned flags);

// Shows a modal message box and returns the id of the button pressed. An
// empty title shows the program's name.
int messageBox(const QString &text, unsigned flags = 0, const QString &title = {});
