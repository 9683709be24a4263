#include "toolkit/Screen.h"

#include "toolkit/DialogResponder.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace {

QSize screenSize()
{
    if (const DialogResponder *responder = DialogResponder::installed()) {
        if (const auto size = responder->screenSize())
            return *size;
    }
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize();
}

}

int screenWidth()
{
    return screenSize().width();
}

int screenHeight()
{
    return screenSize().height();
}

QPoint mousePosition()
{
    if (const DialogResponder *responder = DialogResponder::installed()) {
        if (const auto position = responder->mousePosition())
            return *position;
    }
    return QCursor::pos();
}
