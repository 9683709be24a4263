#pragma once

#include <QObject>
#include <QPoint>

#include <optional>

class QLabel;
class QWidget;

// The title strip of a window without a system frame: a left-button press
// on the title drags the window with the mouse, on the minimise mark
// minimises it, and on the close mark closes it.
class TitleStrip : public QObject
{
    Q_OBJECT

public:
    TitleStrip(QWidget *window, QLabel *title, QLabel *minimise, QLabel *close);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool dragTitle(QEvent *event);

    QWidget *m_window;
    QLabel *m_title;
    QLabel *m_minimise;
    QLabel *m_close;
    // Where the mouse grabbed the window, relative to its top left corner,
    // while a drag that the platform does not run itself goes on.
    std::optional<QPoint> m_grab;
};
