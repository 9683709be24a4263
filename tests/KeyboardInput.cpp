#include "KeyboardInput.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>

void typeText(QWidget *widget, const QString &text)
{
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
