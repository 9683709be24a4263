#include "mainwindow/InfoPanels.h"

#include "mainwindow/MainWindowTexts.h"

using namespace Qt::StringLiterals;

namespace {

// The header is a table of its own, so that the title stands at its left
// end and the close mark at its right end.
QString panelHtml(const QString &title, const QString &body, int datePadding)
{
    return u"<table border=1 bordercolor=#555555 cellspacing=0 cellpadding=0><tr><td width=100% "
           "bgcolor=#555555><table width=100% cellspacing=0 cellpadding=0><tr><td><font color=#FFFFFF size=3> "_s
        + title
        + u"</font></td><td align=right><font color=#FFFFFF size=3>×</font></td></tr></table></td></tr>"
           "<tr><td width=100% bgcolor=#ffffdf><br>"_s
        + body + u"</font><br><br><center>"_s + QString(datePadding, u' ') + MainWindowText::PanelDate
        + u"</td></tr></table>"_s;
}

}

QString helpPanelHtml()
{
    return panelHtml(MainWindowText::Help, MainWindowText::HelpBody, 26);
}

QString aboutPanelHtml()
{
    const QString body = MainWindowText::Title + u"<br>"_s + MainWindowText::Studio + u"<br><br>"_s
        + MainWindowText::ContactAddress;
    return panelHtml(MainWindowText::About, body, 21);
}
