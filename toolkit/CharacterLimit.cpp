#include "toolkit/CharacterLimit.h"

#include <QLineEdit>

namespace {

// Characters, not UTF-16 units: a surrogate pair counts one.
qsizetype characterCount(QStringView text)
{
    return text.toUcs4().size();
}

}

CharacterLimit::CharacterLimit(int limit, QLineEdit *box)
    : QObject(box)
    , m_box(box)
    , m_limit(limit)
    , m_before(characterCount(box->text()))
{
    // textEdited comes only from the user, before textChanged.
    connect(box, &QLineEdit::textEdited, this, &CharacterLimit::takeBackExcess);
    connect(box, &QLineEdit::textChanged, this, [this] { m_before = characterCount(m_box->text()); });
}

void CharacterLimit::takeBackExcess()
{
    const qsizetype allowed = std::max<qsizetype>(m_limit, m_before);
    QString text = m_box->text();
    if (characterCount(text) <= allowed)
        return;
    // What was just typed or pasted ends at the cursor.
    int cursor = m_box->cursorPosition();
    while (characterCount(text) > allowed && cursor > 0) {
        const int width = cursor >= 2 && text[cursor - 1].isLowSurrogate() && text[cursor - 2].isHighSurrogate() ? 2 : 1;
        text.remove(cursor - width, width);
        cursor -= width;
    }
    m_box->setText(text);
    m_box->setCursorPosition(cursor);
}
