#include "InfoPanels.h"

#include "ProgramInfo.h"

using namespace Qt::StringLiterals;

namespace {

QString panelHtml(const QString &title, int titlePadding, const QString &body, int datePadding)
{
    return u"<table border=1 bordercolor=#555555 cellspacing=0 cellpadding=0><tr><td width=100% "
           "bgcolor=#555555><font color=#FFFFFF size=3> "_s
        + title + QString(titlePadding, u' ')
        + u"×</font></td></tr><tr><td width=100% bgcolor=#ffffdf><br>"_s + body
        + u"</font><br><br><center>"_s + QString(datePadding, u' ') + u"2008-3-27</td></tr></table>"_s;
}

}

QString helpPanelHtml()
{
    return panelHtml(u"帮助"_s, 35,
                     u" 一、窗口右键菜单修改口令及库文件备份管理。<br><br> 二、点选列表预览图片，双击图片全屏浏览。"
                     "<br><br> 三、全屏浏览支持左、右光标键切换浏览图片。"_s,
                     26);
}

QString aboutPanelHtml()
{
    const QString body = ProgramInfo::Title + u"<br>"_s + ProgramInfo::Studio + u"<br><br>"_s
        + ProgramInfo::ContactAddress;
    return panelHtml(u"关于"_s, 24, body, 21);
}
