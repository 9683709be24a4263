#pragma once

#include <QPoint>

// Size of the primary screen in pixels.
int screenWidth();
int screenHeight();
// The mouse position in screen coordinates.
QPoint mousePosition();
