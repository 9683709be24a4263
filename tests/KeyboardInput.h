#pragma once

#include <QString>

class QWidget;

// Types text into the widget as a person would: ASCII as key presses, every
// other character as an input method commits it. Like a person, it cannot
// type into a disabled widget: then nothing happens.
void typeText(QWidget *widget, const QString &text);
