#include "ProgramWindows.h"

#include "LoginWindow.h"
#include "MainWindow.h"
#include "ProgramExit.h"

ProgramWindows::ProgramWindows()
{
    LoginWindow::MainWindowAccess access{
        [this] { return m_mainWindow && m_mainWindow->isVisible(); },
        [this] {
            m_mainWindow = std::make_unique<MainWindow>();
            m_mainWindow->show();
        },
    };
    m_loginWindow = std::make_unique<LoginWindow>(std::move(access));
    // A start-up that ended the program shows nothing.
    if (!exitRequested())
        m_loginWindow->show();
}

ProgramWindows::~ProgramWindows() = default;

LoginWindow &ProgramWindows::loginWindow()
{
    return *m_loginWindow;
}

MainWindow *ProgramWindows::mainWindow()
{
    return m_mainWindow.get();
}
