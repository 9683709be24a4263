#include "GlobalState.h"
#include "ProgramExit.h"
#include "ProgramWindows.h"

#include <QApplication>
#include <QIcon>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(u"Lumbra"_s);
    QApplication::setApplicationDisplayName(u"Lumbra"_s);
    QApplication::setWindowIcon(QIcon(u":/art/lumbra.png"_s));

    // Both are released on every way out: the event loop returns for an
    // exit from anywhere, and an exit during start-up skips it.
    GlobalState state;
    const ProgramWindows windows;
    if (!exitRequested())
        application.exec();
    return 0;
}
