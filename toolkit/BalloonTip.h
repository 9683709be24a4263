#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

class QLabel;
class QWidget;

// The balloon tip of a window: panels of simple HTML shown at a screen point
// that close on a click. A control's hover hint is its tool tip.
class BalloonTip : public QObject
{
    Q_OBJECT

public:
    explicit BalloonTip(QWidget *owner);

    // Replaces the panel on screen, if any, with this one.
    void showPanel(const QString &html, QPoint at);
    // The panel on screen, or null.
    QLabel *panel() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_owner;
    QPointer<QLabel> m_panel;
};
