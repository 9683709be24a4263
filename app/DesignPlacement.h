#pragma once

#include <QString>
#include <QWidget>

// Gives a control its design name and its design geometry.
template<typename Control>
Control *placeControl(Control *control, const QString &designName, int left, int top, int width, int height)
{
    control->setObjectName(designName);
    control->setGeometry(left, top, width, height);
    return control;
}
