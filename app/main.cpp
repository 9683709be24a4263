#include "GlobalState.h"
#include "LoginWindow.h"
#include "MainWindow.h"
#include "ProgramExit.h"

#include <QApplication>
#include <QIcon>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The first window the user sees: the log-in window, which opens the main
// window held by the caller once a log-in succeeds.
std::unique_ptr<LoginWindow> openStartWindow(std::unique_ptr<MainWindow> &mainWindow)
{
    LoginWindow::MainWindowAccess access{
        [&mainWindow] { return mainWindow && mainWindow->isVisible(); },
        [&mainWindow] {
            mainWindow = std::make_unique<MainWindow>();
            mainWindow->show();
        },
    };
    auto window = std::make_unique<LoginWindow>(std::move(access));
    // A start-up that ended the program shows nothing.
    if (!exitRequested())
        window->show();
    return window;
}

}

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(u"Lumbra"_s);
    QApplication::setApplicationDisplayName(u"Lumbra"_s);
    QApplication::setWindowIcon(QIcon(u":/art/lumbra.png"_s));

    GlobalState state;
    std::unique_ptr<MainWindow> mainWindow;
    const std::unique_ptr<LoginWindow> startWindow = openStartWindow(mainWindow);
    if (!exitRequested())
        application.exec();
    return 0;
}
