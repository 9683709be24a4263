#include "app/ProgramWindows.h"

#include "auth/LoginWindow.h"
#include "config/ConfigPaths.h"
#include "mainwindow/MainWindow.h"
#include "reasons/ReasonSentence.h"
#include "store/LibraryLock.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ProgramDirectory.h"
#include "toolkit/ToolkitTexts.h"

#include <QGuiApplication>
#include <QLockFile>

ProgramWindows::ProgramWindows() = default;

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::start()
{
    // The flow decides when the program ends, not the last window to close.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    if (!lockProgramFolder()) {
        end();
        return;
    }
    m_session.configFilePath = configFilePathIn(programDirectory());
    m_loginWindow = std::make_unique<LoginWindow>(m_session.configFilePath, m_session.keys);
    connect(m_loginWindow.get(), &LoginWindow::loggedIn, this, &ProgramWindows::openMainWindow);
    connect(m_loginWindow.get(), &LoginWindow::left, this, &ProgramWindows::end);
    m_loginWindow->start();
}

bool ProgramWindows::lockProgramFolder()
{
    std::expected<std::unique_ptr<QLockFile>, QString> lock = withReasonSentence(lockLibraryFolder(programDirectory()));
    if (!lock) {
        messageBox(lock.error(), MessageKind::Stop, ToolkitText::ErrorTitle);
        return false;
    }
    m_folderLock = std::move(*lock);
    return true;
}

void ProgramWindows::openMainWindow(const QString &userName)
{
    m_session.userName = userName;
    m_mainWindow = std::make_unique<MainWindow>(m_session);
    connect(m_mainWindow.get(), &MainWindow::closed, this, &ProgramWindows::end);
    m_mainWindow->show();
    m_mainWindow->openLibrary();
}

void ProgramWindows::end()
{
    if (std::exchange(m_ended, true))
        return;
    // Qt closes the windows, and every event loop returns with status 0,
    // the nested ones of modal windows and message boxes included.
    QCoreApplication::quit();
}

LoginWindow *ProgramWindows::loginWindow()
{
    return m_loginWindow.get();
}

MainWindow *ProgramWindows::mainWindow()
{
    return m_mainWindow.get();
}

const Session &ProgramWindows::session() const
{
    return m_session;
}
