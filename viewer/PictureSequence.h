#pragma once

#include "pictures/PictureLoader.h"

#include <QString>

// What the viewer steps through: the main window's list of pictures, whose
// selected row is the current picture. The viewer keeps no position of its
// own; it moves the selection and the main window shows each step.
class PictureSequence
{
public:
    virtual ~PictureSequence() = default;

    // Pictures in the library.
    virtual int pictureCount() const = 0;
    virtual int rowCount() const = 0;
    // -1 when no row is selected.
    virtual int selectedRow() const = 0;
    // Empty for an index outside the list.
    virtual QString rowName(int row) const = 0;
    // Selects the row (none, for an index outside the list) and shows it.
    virtual void showRow(int row) = 0;
    // The current picture: the one shown last, also while no row is selected.
    virtual PictureSource currentPicture() const = 0;
    // The picture of a row; a source with key 0 for an index outside the list.
    virtual PictureSource pictureOfRow(int row) const = 0;
    // The loader that reads and decodes the pictures, shared with the main
    // window so that one decode serves both.
    virtual PictureLoader &pictureLoader() = 0;
};
