#include "toolkit/FittedText.h"

#include <QFontMetrics>
#include <QLabel>

int textWidth(const QString &text, const QFont &font)
{
    return QFontMetrics(font).horizontalAdvance(text);
}

void showFittedText(QLabel &label, const QString &text, const QFont &font)
{
    const int room = label.contentsRect().width() - 2 * label.margin();
    QFont fitted = font;
    for (int size = font.pixelSize(); size > 1 && textWidth(text, fitted) > room; --size)
        fitted.setPixelSize(size - 1);
    label.setFont(fitted);
    label.setText(text);
}
