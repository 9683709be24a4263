#include "auth/DefaultButtonRule.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

DefaultButtonRule::DefaultButtonRule(QObject *parent)
    : QObject(parent)
{
}

void DefaultButtonRule::add(QWidget *control, QPushButton *defaultButton)
{
    m_defaultButtons.insert(control, defaultButton);
    control->installEventFilter(this);
}

bool DefaultButtonRule::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        // In a dialog, setDefault takes the default from every other button.
        if (QPushButton *button = m_defaultButtons.value(watched))
            button->setDefault(true);
        if (auto *edit = qobject_cast<QLineEdit *>(watched))
            edit->selectAll();
    }
    return QObject::eventFilter(watched, event);
}
