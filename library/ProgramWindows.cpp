#include "ProgramWindows.h"

#include "LibraryLock.h"
#include "LoginWindow.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "ProgramDirectory.h"
#include "ProgramExit.h"

#include <QLockFile>

using namespace Qt::StringLiterals;

ProgramWindows::ProgramWindows()
{
    if (!lockProgramFolder())
        return;
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

bool ProgramWindows::lockProgramFolder()
{
    std::expected<std::unique_ptr<QLockFile>, QString> lock = lockLibraryFolder(programDirectory());
    if (!lock) {
        messageBox(lock.error(), MessageBoxFlags::IconStop, u"错误"_s);
        exitProgram();
        return false;
    }
    m_folderLock = std::move(*lock);
    return true;
}

LoginWindow &ProgramWindows::loginWindow()
{
    Q_ASSERT(m_loginWindow);
    return *m_loginWindow;
}

MainWindow *ProgramWindows::mainWindow()
{
    return m_mainWindow.get();
}
