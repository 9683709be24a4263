#pragma once

#include "config/Session.h"

#include <QMenu>

class BalloonTip;
class PictureStore;

// The main window's right-click menu: the password window, the backup and
// restore of the user information, the Help and About panels at the mouse,
// and exit. Exit, and a restore, after which the program must end so that
// the next start reads the restored accounts, ask for the window to close.
// A password change that put a new library key in the session's keys (the
// first password other than the default on a plain library) tells
// libraryKeyChanged once the password window is closed: the library is to
// be sealed with it.
class MainWindowMenu : public QMenu
{
    Q_OBJECT

public:
    MainWindowMenu(Session session, PictureStore &store, BalloonTip &balloonTip, QWidget *window);

Q_SIGNALS:
    void closeRequested();
    void libraryKeyChanged();

private:
    void changePassword();

    Session m_session;
    PictureStore &m_store;
};
