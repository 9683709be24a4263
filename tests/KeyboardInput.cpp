#include "KeyboardInput.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>

void typeText(QWidget *widget, const QString &text)
{
    // A disabled line edit takes input method events all the same.
    if (!widget->isEnabled())
        return;
    for (const QChar character : text) {
        if (character.unicode() < 0x80) {
            QTest::keyClicks(widget, QString(character));
            continue;
        }
        QInputMethodEvent commit;
        commit.setCommitString(QString(character));
        QApplication::sendEvent(widget, &commit);
    }
}
