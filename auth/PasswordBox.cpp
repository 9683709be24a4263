#include "auth/PasswordBox.h"

#include "toolkit/CharacterLimit.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>

namespace {

// The platform's style, but every hidden character of a password shows as
// "*" whatever the platform's habit.
class StarStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle *starStyle()
{
    // Owned by the application, which outlives every window.
    static QPointer<QStyle> style;
    if (!style) {
        style = new StarStyle;
        style->setParent(QApplication::instance());
    }
    return style;
}

}

QLineEdit *makePasswordBox(QWidget *parent, const QString &text)
{
    auto *box = new QLineEdit(text, parent);
    box->setEchoMode(QLineEdit::Password);
    box->setStyle(starStyle());
    new CharacterLimit(PasswordLimit, box);
    return box;
}
