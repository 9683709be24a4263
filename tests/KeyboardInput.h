#pragma once

#include <QString>

class QWidget;

// Types text into the widget as a person would: ASCII as key presses, every
// other character as an input method commits it.
void typeText(QWidget *widget, const QString &text);
