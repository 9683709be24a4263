#pragma once

#include <memory>

class LoginWindow;
class MainWindow;
class QLockFile;

// The program's window flow: the log-in window comes first; a log-in opens
// the main window, which this object owns, before the log-in window closes.
// Every other way out of the log-in window ends the program. A second
// program on the same program folder says so and ends.
class ProgramWindows
{
public:
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows &) = delete;
    ProgramWindows &operator=(const ProgramWindows &) = delete;

    // Only after a start that was not refused.
    LoginWindow &loginWindow();
    // Null until a log-in succeeded.
    MainWindow *mainWindow();

private:
    bool lockProgramFolder();

    std::unique_ptr<QLockFile> m_folderLock;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<LoginWindow> m_loginWindow;
};
