#include "app/ProgramWindows.h"

#include "auth/LoginWindow.h"
#include "mainwindow/MainWindow.h"
#include "reasons/ReasonSentence.h"
#include "store/LibraryLock.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ProgramDirectory.h"
#include "toolkit/ProgramExit.h"
#include "toolkit/ToolkitTexts.h"

#include <QLockFile>

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
    std::expected<std::unique_ptr<QLockFile>, QString> lock = withReasonSentence(lockLibraryFolder(programDirectory()));
    if (!lock) {
        messageBox(lock.error(), MessageKind::Stop, ToolkitText::ErrorTitle);
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
