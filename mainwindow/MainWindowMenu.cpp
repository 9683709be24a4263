#include "mainwindow/MainWindowMenu.h"

#include "auth/PasswordWindow.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/MainWindowTexts.h"
#include "maintenance/UserInfoBackup.h"
#include "toolkit/BalloonTip.h"
#include "toolkit/Screen.h"

using namespace Qt::StringLiterals;

MainWindowMenu::MainWindowMenu(Session session, PictureStore &store, BalloonTip &balloonTip, QWidget *window)
    : QMenu(window)
    , m_session(std::move(session))
    , m_store(store)
{
    setObjectName(u"菜单"_s);
    addAction(MainWindowText::ChangePassword, this, &MainWindowMenu::changePassword);
    addSeparator();
    addAction(MainWindowText::BackUp, this, [this] { backupUserInfo(m_store, m_session); });
    addAction(MainWindowText::Restore, this, [this] {
        if (restoreUserInfo(m_session, m_store))
            Q_EMIT closeRequested();
    });
    addSeparator();
    addAction(MainWindowText::Help, this, [&balloonTip] { balloonTip.showPanel(helpPanelHtml(), mousePosition()); });
    addAction(MainWindowText::About, this, [&balloonTip] { balloonTip.showPanel(aboutPanelHtml(), mousePosition()); });
    addSeparator();
    addAction(MainWindowText::Exit, this, &MainWindowMenu::closeRequested);
}

void MainWindowMenu::changePassword()
{
    const std::shared_ptr<const LibraryKey> before = m_session.keys->libraryKey;
    // A window of its own: it takes no looks from the main window.
    PasswordWindow passwordWindow(m_session);
    passwordWindow.exec();
    if (m_session.keys->libraryKey != before)
        Q_EMIT libraryKeyChanged();
}
