#include "reasons/PictureNote.h"

#include "reasons/ReasonTexts.h"

QString pictureNote(const DecodedPicture &picture)
{
    switch (picture.problem) {
    case PictureProblem::None:
        return {};
    case PictureProblem::Damaged:
        return ReasonText::PictureDamaged;
    case PictureProblem::TooLarge:
        return ReasonText::PictureTooLarge.arg(picture.size.width()).arg(picture.size.height());
    case PictureProblem::TooComplex:
        return ReasonText::PictureTooComplex;
    case PictureProblem::NotAPicture:
        return ReasonText::NotAPicture;
    case PictureProblem::Unreadable:
        return ReasonText::PictureUnreadable.arg(picture.detail);
    }
    return {};
}
