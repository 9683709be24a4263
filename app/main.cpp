#include "app/ProgramWindows.h"
#include "toolkit/QtChineseTexts.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <QTranslator>

#ifdef LUMBRA_WARM_FONTCONFIG
#include <QtConcurrent>

#include <fontconfig/fontconfig.h>
#endif

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
#ifdef LUMBRA_WARM_FONTCONFIG
    // Reading the font configuration is a good part of a start: it runs on
    // the other core while the application connects to the display.
    QFuture<FcBool> fontConfiguration = QtConcurrent::run(&FcInit);
#endif
    // The command line is not read: the toolkit hears the program's name alone.
    char fallbackName[] = "lumbra";
    char *toolkitArguments[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};
    int toolkitArgumentCount = 1;
    QApplication application(toolkitArgumentCount, toolkitArguments);
#ifdef LUMBRA_WARM_FONTCONFIG
    fontConfiguration.waitForFinished();
#endif
    // No display name: the platform would append it to every caption.
    QApplication::setApplicationName(u"Lumbra"_s);
    QApplication::setWindowIcon(QIcon(u":/art/lumbra.png"_s));
    // Lets a Wayland desktop match the windows to the installed menu entry.
    QGuiApplication::setDesktopFileName(u"example.vostrand.Lumbra"_s);
    // Released on every way out: the program ends when the window flow ends
    // the event loop. It starts from the loop, so that an end during
    // start-up ends the loop too.
    ProgramWindows windows;
    QTimer::singleShot(0, &windows, &ProgramWindows::start);
    // Qt's own dialogs and menus speak Chinese like the rest of the program.
    // Nothing shows them before the first window is up.
    QTranslator qtTexts;
    QTimer::singleShot(0, &application, [&qtTexts] { installQtChineseTexts(qtTexts); });
    return QApplication::exec();
}
