#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// The characters a password may have. Every password box takes the same
// limit, so a password that can be set can always be typed again.
inline constexpr int PasswordLimit = 10;

// An edit box for a password: every character shown as "*", and typing
// limited to PasswordLimit characters, never splitting one.
QLineEdit *makePasswordBox(QWidget *parent, const QString &text = {});
