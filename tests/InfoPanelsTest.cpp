#include "mainwindow/InfoPanels.h"
#include "toolkit/BalloonTip.h"

#include <QImage>
#include <QLabel>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

// The first and last column of the white text in the panel's dark header,
// the rows from its top down to the first row of the light body.
std::pair<int, int> headerTextColumns(const QImage &panel)
{
    const QRgb headerColour = qRgb(0x55, 0x55, 0x55);
    const QRgb bodyColour = qRgb(0xff, 0xff, 0xdf);
    int first = panel.width();
    int last = -1;
    for (int y = 0; y < panel.height() && panel.pixel(panel.width() / 2, y) != bodyColour; ++y) {
        if (panel.pixel(panel.width() / 2, y) != headerColour)
            continue;
        for (int x = 0; x < panel.width(); ++x) {
            const QColor pixel = panel.pixelColor(x, y);
            // Lighter than the header and grey, not the body's yellow.
            if (qGray(pixel.rgb()) > 0x90 && std::abs(pixel.red() - pixel.blue()) < 16) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

}

TEST(InfoPanelsTest, PanelsAreBuiltFromTheFrameByteForByte)
{
    const QString head = u"<table border=1 bordercolor=#555555 cellspacing=0 cellpadding=0><tr><td width=100% "
                         "bgcolor=#555555><table width=100% cellspacing=0 cellpadding=0><tr><td>"
                         "<font color=#FFFFFF size=3> "_s;
    const QString bodyRow = u"</font></td><td align=right><font color=#FFFFFF size=3>×</font></td></tr></table>"
                            "</td></tr><tr><td width=100% bgcolor=#ffffdf><br>"_s;
    const QString tail = u"2008-3-27</td></tr></table>"_s;

    EXPECT_EQ(helpPanelHtml(),
              head + u"帮助"_s + bodyRow
                  + u" 一、窗口右键菜单修改口令及库文件备份管理。<br><br> 二、点选列表预览图片，双击图片全屏浏览。<br><br>"
                    " 三、全屏浏览支持左、右光标键切换浏览图片。"_s
                  + u"</font><br><br><center>"_s + QString(26, u' ') + tail);
    EXPECT_EQ(aboutPanelHtml(),
              head + u"关于"_s + bodyRow
                  + u" Lumbra v2008.3<br>Vostrand<br><br>lumbra@vostrand.example"_s
                  + u"</font><br><br><center>"_s + QString(21, u' ') + tail);
}

TEST(InfoPanelsTest, TheTitleStandsAtTheLeftEndOfTheHeaderAndTheCloseMarkAtTheRightEnd)
{
    QWidget owner;
    BalloonTip balloonTip(&owner);
    for (const QString &html : {helpPanelHtml(), aboutPanelHtml()}) {
        balloonTip.showPanel(html, {100, 100});
        const QImage panel = balloonTip.panel()->grab().toImage();
        const auto [first, last] = headerTextColumns(panel);
        EXPECT_LT(first, 16) << "the title";
        EXPECT_GE(last, panel.width() - 8) << "the close mark, in a panel " << panel.width() << " wide";
    }
}
