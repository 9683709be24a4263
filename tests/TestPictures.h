#pragma once

#include "store/PictureStore.h"

#include <QByteArray>
#include <QColor>
#include <QSize>

// Image file bytes made on the spot: a picture of one colour with a mark in
// its corner, so that decoding it can be checked.
QByteArray pictureFile(QSize size, QColor colour, const char *format = "PNG");

// Four small pictures, "0001", "0002", "猫" (a JPEG) and "0004".
std::vector<PictureStore::NewRecord> fourPictures();
