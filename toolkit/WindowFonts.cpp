#include "toolkit/WindowFonts.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {

const QStringList CjkFallbacks = {u"WenQuanYi Micro Hei"_s, u"Noto Sans CJK SC"_s,
                                  u"Noto Sans SC"_s, u"Microsoft YaHei"_s};

QFont windowFont(const QStringList &families, int pixelSize)
{
    QFont font;
    font.setFamilies(families + CjkFallbacks);
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Normal);
    return font;
}

}

QFont simSunFont(int pixelSize)
{
    return windowFont({u"SimSun"_s, u"宋体"_s, SimSunStandIn}, pixelSize);
}

QFont liSuFont(int pixelSize)
{
    return windowFont({u"LiSu"_s, u"隶书"_s, u"STLiti"_s, LiSuStandIn}, pixelSize);
}
