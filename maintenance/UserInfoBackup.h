#pragma once

#include "config/Session.h"

class PictureStore;

// Backs up the user information: copies the session's system.dat to a file
// the user chooses and a snapshot of the open picture library into BAK/.
void backupUserInfo(PictureStore &store, const Session &session);

// Restores the session's system.dat from a backup file the user chooses,
// after asking. True once it is replaced: the program must end then, so
// that the next start reads it. Onto a sealed library, a file whose slots
// all belong to another library is refused, and one without any slot is
// taken only after a question, since the recovery key is then needed.
bool restoreUserInfo(const Session &session, const PictureStore &store);
