#pragma once

class PictureStore;

// Backs up the user information: copies system.dat to a file the user
// chooses and a snapshot of the open picture library into BAK/.
void backupUserInfo(PictureStore &store);

// Restores the user information from a backup file the user chooses, after
// asking. True once system.dat is replaced: the program must end then, so
// that the next start reads it.
bool restoreUserInfo();
