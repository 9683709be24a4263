#include "library/InfoPanels.h"

#include "library/LibraryTexts.h"

using namespace Qt::StringLiterals;

namespace {

QString panelHtml(const QString &title, int titlePadding, const QString &body, int datePadding)
{
    return u"<table border=1 bordercolor=#555555 cellspacing=0 cellpadding=0><tr><td width=100% "
           "bgcolor=#555555><font color=#FFFFFF size=3> "_s
        + title + QString(titlePadding, u' ')
        + u"×</font></td></tr><tr><td width=100% bgcolor=#ffffdf><br>"_s + body
        + u"</font><br><br><center>"_s + QString(datePadding, u' ') + LibraryText::PanelDate
        + u"</td></tr></table>"_s;
}

}

QString helpPanelHtml()
{
    return panelHtml(LibraryText::Help, 35, LibraryText::HelpBody, 26);
}

QString aboutPanelHtml()
{
    const QString body = LibraryText::Title + u"<br>"_s + LibraryText::Studio + u"<br><br>"_s
        + LibraryText::ContactAddress;
    return panelHtml(LibraryText::About, 24, body, 21);
}
