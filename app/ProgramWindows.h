#pragma once

#include "config/Session.h"

#include <QObject>

#include <memory>

class LoginWindow;
class MainWindow;
class QLockFile;

// The program's window flow and its one end. The log-in window comes first;
// a log-in opens the main window, which opens the library once it shows.
// The flow holds the session (the run's account file, user and keys) and
// hands it to the windows; the log-in window fills its keys. The program
// ends when the log-in window is left without a log-in, when the main
// window closes, and when another running program holds the program
// folder; it ends with status 0, from whatever modal window or message box
// it is in.
class ProgramWindows : public QObject
{
    Q_OBJECT

public:
    ProgramWindows();
    ~ProgramWindows() override;

    // Takes the program folder and shows the log-in window; a folder that
    // another program holds is told, and the program ends. Called from the
    // running event loop, so that an end at once ends it.
    void start();

    // Null before the start, and after a start that was refused.
    LoginWindow *loginWindow();
    // Null until a log-in succeeded.
    MainWindow *mainWindow();
    // The run's session: its keys are those of the log-in once there is one.
    const Session &session() const;

private:
    bool lockProgramFolder();
    void openMainWindow(const QString &userName);
    void end();

    std::unique_ptr<QLockFile> m_folderLock;
    Session m_session;
    std::unique_ptr<LoginWindow> m_loginWindow;
    std::unique_ptr<MainWindow> m_mainWindow;
    bool m_ended = false;
};
