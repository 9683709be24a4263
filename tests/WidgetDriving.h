#pragma once

#include "TestFiles.h"

#include <Qt>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

class CheckBoxList;
class PictureBox;
class QLabel;
class QWidget;
class ViewerWindow;

// Clicks or double-clicks a row of the list as a person would.
void clickRow(CheckBoxList &list, int row, Qt::KeyboardModifiers modifiers = {});
void doubleClickRow(CheckBoxList &list, int row);
// Presses and releases a key on the widget, then lets the event loop hand on
// what the press started (hot-key presses arrive through it).
void pressKey(QWidget &widget, int key);

// What exitStatusAfter gives for a program that has not ended.
constexpr int NotEnded = -99;
// Runs the application's event loop, as the program's entry does, with
// steps as its first event; the status the program ends with, or NotEnded
// when it is still running after the limit.
int exitStatusAfter(const std::function<void()> &steps,
                    std::chrono::milliseconds limit = std::chrono::seconds(10));

// Runs check on the viewer once it is up, then closes it if check did not.
void whenViewerOpens(std::function<void(ViewerWindow &)> check);

// True when the preview label shows this picture, fitted as it fits it.
bool shows(const QLabel &preview, const QByteArray &picture);
// True when the viewer's picture box shows this picture.
bool shows(const PictureBox &box, const QByteArray &picture);

// The control lies inside its window, and its text, in the font it is
// drawn in, fits its width.
::testing::AssertionResult standsWhole(const QWidget &control);

// Tab from first reaches each of these in turn, past what takes no focus.
void expectTabOrder(QWidget *first, const std::vector<QWidget *> &next);
