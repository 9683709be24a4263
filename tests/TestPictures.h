#pragma once

#include <QByteArray>
#include <QColor>
#include <QSize>

// Image file bytes made on the spot: a picture of one colour with a mark in
// its corner, so that decoding it can be checked.
QByteArray pictureFile(QSize size, QColor colour, const char *format = "PNG");
