#include "library/InfoPanels.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(InfoPanelsTest, PanelsAreBuiltFromTheFrameByteForByte)
{
    const QString head = u"<table border=1 bordercolor=#555555 cellspacing=0 cellpadding=0><tr><td width=100% "
                         "bgcolor=#555555><font color=#FFFFFF size=3> "_s;
    const QString bodyRow = u"×</font></td></tr><tr><td width=100% bgcolor=#ffffdf><br>"_s;
    const QString tail = u"2008-3-27</td></tr></table>"_s;

    EXPECT_EQ(helpPanelHtml(),
              head + u"帮助"_s + QString(35, u' ') + bodyRow
                  + u" 一、窗口右键菜单修改口令及库文件备份管理。<br><br> 二、点选列表预览图片，双击图片全屏浏览。<br><br>"
                    " 三、全屏浏览支持左、右光标键切换浏览图片。"_s
                  + u"</font><br><br><center>"_s + QString(26, u' ') + tail);
    EXPECT_EQ(aboutPanelHtml(),
              head + u"关于"_s + QString(24, u' ') + bodyRow
                  + u" Lumbra v2008.3<br>Vostrand<br><br>lumbra@vostrand.example"_s
                  + u"</font><br><br><center>"_s + QString(21, u' ') + tail);
}
