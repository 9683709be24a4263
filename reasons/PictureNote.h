#pragma once

#include "pictures/PictureDecoder.h"

#include <QString>

// The note a window shows in place of a picture that cannot be shown;
// empty for one that can.
QString pictureNote(const DecodedPicture &picture);
