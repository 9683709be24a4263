#include "toolkit/FittedText.h"

#include <QFontMetrics>
#include <QLabel>

void showFittedText(QLabel &label, const QString &text, const QFont &font)
{
    const int room = label.contentsRect().width() - 2 * label.margin();
    QFont fitted = font;
    for (int size = font.pixelSize(); size > 1 && QFontMetrics(fitted).horizontalAdvance(text) > room; --size)
        fitted.setPixelSize(size - 1);
    label.setFont(fitted);
    label.setText(text);
}
