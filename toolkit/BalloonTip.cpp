#include "toolkit/BalloonTip.h"

#include "toolkit/WindowFonts.h"

#include <QEvent>
#include <QLabel>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

// Body text is 9 pt black SimSun, its stand-in or Verdana where that font is
// missing.
const QString PanelStyle = u"QLabel { background: #ffffdf; color: black; border: 1px solid #555555;"
                           " font-family: 宋体, SimSun, '"_s
    + SimSunStandIn + u"', Verdana, sans-serif; font-size: 9pt; }"_s;

}

BalloonTip::BalloonTip(QWidget *owner)
    : QObject(owner)
    , m_owner(owner)
{
}

void BalloonTip::showPanel(const QString &html, QPoint at)
{
    if (m_panel)
        m_panel->close();
    m_panel = new QLabel(m_owner, Qt::ToolTip | Qt::FramelessWindowHint);
    m_panel->setAttribute(Qt::WA_DeleteOnClose);
    m_panel->setObjectName(u"balloonPanel"_s);
    m_panel->setStyleSheet(PanelStyle);
    m_panel->setTextFormat(Qt::RichText);
    m_panel->setText(html);
    m_panel->adjustSize();
    m_panel->move(at);
    m_panel->installEventFilter(this);
    m_panel->show();
}

QLabel *BalloonTip::panel() const
{
    return m_panel;
}

bool BalloonTip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panel && event->type() == QEvent::MouseButtonPress) {
        m_panel->close();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
