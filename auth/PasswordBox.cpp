#include "auth/PasswordBox.h"

#include "toolkit/CharacterLimit.h"

#include <QLineEdit>

QLineEdit *makePasswordBox(QWidget *parent, const QString &text)
{
    auto *box = new QLineEdit(text, parent);
    box->setEchoMode(QLineEdit::Password);
    new CharacterLimit(PasswordLimit, box);
    return box;
}
