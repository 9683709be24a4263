#pragma once

#include <QObject>

class QLineEdit;

// Limits what the user types or pastes into an edit box to a number of
// characters (not UTF-16 units: an emoji counts one and is never split);
// what goes past the limit is taken back from the end of the edit. Text the
// program puts into the box is never cut: a longer text stays whole and may
// be shortened, but not lengthened, by the user.
class CharacterLimit : public QObject
{
    Q_OBJECT

public:
    // Watches box, which owns it.
    CharacterLimit(int limit, QLineEdit *box);

private:
    void takeBackExcess();

    QLineEdit *m_box;
    int m_limit;
    // Characters of the text before the user's edit.
    qsizetype m_before = 0;
};
