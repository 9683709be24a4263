#include "GlobalState.h"
#include "MainWindow.h"
#include "ProgramExit.h"

#include <QApplication>
#include <QIcon>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The first window the user sees.
std::unique_ptr<QWidget> openStartWindow()
{
    auto window = std::make_unique<MainWindow>();
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
    const std::unique_ptr<QWidget> startWindow = openStartWindow();
    if (!exitRequested())
        application.exec();
    return 0;
}
