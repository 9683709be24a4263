#pragma once

#include <QFont>
#include <QString>

class QLabel;

// The width text takes on one line in font.
int textWidth(const QString &text, const QFont &font);
// Shows text in the label in font (sized in pixels), made smaller only as
// far as the whole text needs to fit the label's width.
void showFittedText(QLabel &label, const QString &text, const QFont &font);
