#pragma once

#include <QHash>
#include <QObject>

class QPushButton;
class QWidget;

// The windows' focus rule: when a control gains the keyboard focus, the
// button given for it becomes the window's one default button (the one
// Enter presses), and an edit box gets its whole content selected.
class DefaultButtonRule : public QObject
{
    Q_OBJECT

public:
    explicit DefaultButtonRule(QObject *parent);

    void add(QWidget *control, QPushButton *defaultButton);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QHash<QObject *, QPushButton *> m_defaultButtons;
};
