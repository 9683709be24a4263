#include "mainwindow/TitleStrip.h"

#include <QLabel>
#include <QMouseEvent>
#include <QWindow>

namespace {

// The mouse event behind a press, move or release; null for any other event,
// which must not be cast to a mouse event.
QMouseEvent *mouseEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return static_cast<QMouseEvent *>(event);
    default:
        return nullptr;
    }
}

} // namespace

TitleStrip::TitleStrip(QWidget *window, QLabel *title, QLabel *minimise, QLabel *close)
    : QObject(window)
    , m_window(window)
    , m_title(title)
    , m_minimise(minimise)
    , m_close(close)
{
    for (QLabel *label : {title, minimise, close})
        label->installEventFilter(this);
}

bool TitleStrip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_title)
        return dragTitle(event);
    const QMouseEvent *mouse = mouseEvent(event);
    const bool leftPress = mouse && mouse->type() == QEvent::MouseButtonPress
        && mouse->button() == Qt::LeftButton;
    if (!leftPress)
        return false;
    if (watched == m_minimise) {
        m_window->showMinimized();
        return true;
    }
    if (watched == m_close) {
        m_window->close();
        return true;
    }
    return false;
}

bool TitleStrip::dragTitle(QEvent *event)
{
    const QMouseEvent *mouse = mouseEvent(event);
    if (!mouse)
        return false;
    switch (mouse->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() != Qt::LeftButton)
            return false;
        // The window manager moves the window where it can; elsewhere the
        // strip follows the mouse itself.
        if (!m_window->windowHandle() || !m_window->windowHandle()->startSystemMove())
            m_grab = mouse->globalPosition().toPoint() - m_window->pos();
        return true;
    case QEvent::MouseMove:
        if (!m_grab || !(mouse->buttons() & Qt::LeftButton))
            return false;
        m_window->move(mouse->globalPosition().toPoint() - *m_grab);
        return true;
    case QEvent::MouseButtonRelease:
        if (!m_grab)
            return false;
        m_grab.reset();
        return true;
    default:
        return false;
    }
}
