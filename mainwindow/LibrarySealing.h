#pragma once

#include "config/Session.h"

#include <memory>

class LibraryKey;
class LibraryModel;
class QWidget;

// Brings the open library and the keys of the log-in together. A sealed
// library opens with the key from the account's slot, or else with its
// recovery key, which also gives the account a slot. A plain library is
// sealed once a password other than the published default protects it:
// the recovery key is shown, then the pictures are sealed in batches, each
// one commit, with progress; a cancel or a crash leaves a library that
// reads, and the work goes on at the next log-in.
class LibrarySealing
{
public:
    enum class Outcome { Open, Close };

    LibrarySealing(LibraryModel &library, Session session, QWidget *window);

    // After the library opened, and after the password changed. Close when
    // the library stays closed to this account and the window should go.
    Outcome settle();

private:
    Outcome unlock();
    Outcome recover();
    void makeLibraryKey();
    void seal();
    void convert();
    // Writes the key's slot for the session's account; false when it failed.
    bool giveAccountSlot(const std::shared_ptr<const LibraryKey> &key, const QString &failure);

    LibraryModel &m_library;
    Session m_session;
    QWidget *m_window;
};
