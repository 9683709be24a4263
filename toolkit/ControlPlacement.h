#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

// A control of a window's design: the Chinese name it carries as its object
// name (by which style sheets and tests find it) and its place.
struct ControlPlace
{
    const char16_t *name;
    QRect geometry;
};

// Gives a control its design name and its place in the window.
template<typename Control>
Control *placeControl(Control *control, const ControlPlace &place)
{
    control->setObjectName(QString::fromUtf16(place.name));
    control->setGeometry(place.geometry);
    return control;
}
