#pragma once

#include <QPoint>

class QMenu;

// Pops the menu up at a screen point and runs the chosen item's action.
void popupMenu(QMenu &menu, QPoint at);
