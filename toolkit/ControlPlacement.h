#pragma once

#include <QString>
#include <QWidget>

// Gives a control its object name (its Chinese name, by which tests and
// style sheets find it) and its place in the window.
template<typename Control>
Control *placeControl(Control *control, const QString &objectName, int left, int top, int width, int height)
{
    control->setObjectName(objectName);
    control->setGeometry(left, top, width, height);
    return control;
}
