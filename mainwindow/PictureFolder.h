#pragma once

#include <QString>

// The folder the picture file dialogs open in: the user's Pictures folder
// at first, then the folder of the picture file last chosen, remembered in
// the program folder between runs.
QString pictureFolder();
void rememberPictureFolder(const QString &chosenFile);
