#pragma once

#include <memory>

class LoginWindow;
class MainWindow;

// The program's window flow: the log-in window comes first; a log-in opens
// the main window, which this object owns, before the log-in window closes.
// Every other way out of the log-in window ends the program.
class ProgramWindows
{
public:
    ProgramWindows();
    ~ProgramWindows();
    ProgramWindows(const ProgramWindows &) = delete;
    ProgramWindows &operator=(const ProgramWindows &) = delete;

    LoginWindow &loginWindow();
    // Null until a log-in succeeded.
    MainWindow *mainWindow();

private:
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<LoginWindow> m_loginWindow;
};
