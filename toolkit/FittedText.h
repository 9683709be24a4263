#pragma once

#include <QFont>
#include <QString>

class QLabel;

// Shows text in the label in font (sized in pixels), made smaller only as
// far as the whole text needs to fit the label's width.
void showFittedText(QLabel &label, const QString &text, const QFont &font);
