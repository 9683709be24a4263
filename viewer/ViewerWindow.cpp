#include "ViewerWindow.h"

#include "DesignFonts.h"
#include "DesignPlacement.h"
#include "GlobalState.h"
#include "HotKeyEvent.h"
#include "HotKeys.h"
#include "PictureBox.h"
#include "PictureSequence.h"
#include "Screen.h"

#include <QLabel>
#include <QToolButton>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString NumberPrefix = u"图片编号："_s;
const QColor CaptionColour(236, 236, 236);
constexpr QSize ButtonImageSize(16, 16);

QToolButton *imageButton(QWidget *parent, const QString &caption, const QString &image)
{
    auto *button = new QToolButton(parent);
    button->setText(caption);
    button->setToolTip(caption);
    button->setIcon(QIcon(image));
    button->setIconSize(ButtonImageSize);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setAutoRaise(true);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

// Computed coordinates are worked out with fractions and cut toward zero.
int truncated(double value)
{
    return static_cast<int>(value);
}

}

ViewerWindow::ViewerWindow(PictureSequence &pictures)
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint)
    , m_pictures(pictures)
{
    createControls();
    styleControls();
    connectEvents();
    coverScreen();
    showCurrentPicture();
    showCount();
    showNumber();
    registerHotKeys();
}

ViewerWindow::~ViewerWindow()
{
    releaseHotKeys();
}

void ViewerWindow::createControls()
{
    setObjectName(u"ViewerWindow"_s);
    // No title of its own; a blank keeps the platform from putting the
    // program's name there.
    setWindowTitle(u" "_s);
    resize(400, 320);
    标签1 = placeControl(new QLabel(this), u"标签1"_s, 0, 0, 400, 320);
    图片框1 = placeControl(new PictureBox(this), u"图片框1"_s, 30, 28, 248, 176);
    标签2 = placeControl(new QLabel(this), u"标签2"_s, 16, 8, 96, 24);
    标签3 = placeControl(new QLabel(this), u"标签3"_s, 120, 8, 144, 24);
    超级按钮2 = placeControl(imageButton(this, u"返回"_s, u":/art/viewer-back.png"_s), u"超级按钮2"_s, 102, 276, 22, 22);
    超级按钮3 = placeControl(imageButton(this, u"前进"_s, u":/art/viewer-forward.png"_s), u"超级按钮3"_s, 152, 276, 22, 22);
    超级按钮1 = placeControl(imageButton(this, u"退出"_s, u":/art/viewer-exit.png"_s), u"超级按钮1"_s, 14, 276, 22, 22);
}

void ViewerWindow::styleControls()
{
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, CaptionColour);
    setPalette(black);
    setAutoFillBackground(true);
    for (QWidget *control : std::initializer_list<QWidget *>{标签1, 图片框1, 标签2, 标签3})
        control->setAutoFillBackground(true);
    for (QLabel *caption : {标签2, 标签3}) {
        caption->setFont(simSunFont());
        caption->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    }
}

void ViewerWindow::connectEvents()
{
    connect(超级按钮2, &QToolButton::clicked, this, &ViewerWindow::stepPrevious);
    connect(超级按钮3, &QToolButton::clicked, this, &ViewerWindow::stepNext);
    connect(超级按钮1, &QToolButton::clicked, this, &ViewerWindow::reject);
    标签1->installEventFilter(this);
}

void ViewerWindow::coverScreen()
{
    setGeometry(0, 0, screenWidth(), screenHeight() - 30);
    // A hidden window hears of its new size only when shown; the controls
    // stand in place at once.
    layoutViewer();
}

void ViewerWindow::showCurrentPicture()
{
    图片框1->setPicture(m_pictures.currentPicture().value_or(QByteArray()));
}

void ViewerWindow::showCount()
{
    标签2->setText(u"库内共有"_s + QString::number(m_pictures.pictureCount()) + u"张图片"_s);
}

void ViewerWindow::showNumber()
{
    标签3->setText(NumberPrefix + m_pictures.rowName(m_pictures.selectedRow()));
}

void ViewerWindow::registerHotKeys()
{
    GlobalState &state = GlobalState::current();
    state.LeftHotKeyId = registerHotKey(this, 标签1, HotKeyModifiers::None, VirtualKey::Left);
    state.RightHotKeyId = registerHotKey(this, 标签1, HotKeyModifiers::None, VirtualKey::Right);
    m_hotKeys = {state.LeftHotKeyId, state.RightHotKeyId};
}

void ViewerWindow::releaseHotKeys()
{
    for (int id : m_hotKeys)
        unregisterHotKey(id);
    m_hotKeys.clear();
}

void ViewerWindow::done(int result)
{
    releaseHotKeys();
    QDialog::done(result);
}

void ViewerWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    layoutViewer();
}

void ViewerWindow::layoutViewer()
{
    标签1->setGeometry(0, 0, width(), height());
    // The window stands at the screen's corner; the box keeps 10 pixels
    // from its left, top and right edges and ends where the bottom row begins.
    图片框1->setGeometry(10, 10, width() - 20, height() - 40);
    const int screenW = screenWidth();
    const int rowTop = screenHeight() - 60;
    超级按钮1->move(screenW - 70, rowTop);
    超级按钮2->move(truncated(screenW / 2.0 - 100), rowTop);
    超级按钮3->move(truncated(screenW / 2.0 + 100), rowTop);
    标签2->move(标签2->x(), rowTop);
    标签3->move(标签3->x(), rowTop);
}

void ViewerWindow::stepPrevious()
{
    step(-1);
    if (标签3->text() == NumberPrefix)
        标签3->setText(NumberPrefix + u"0001"_s);
}

void ViewerWindow::stepNext()
{
    step(+1);
}

void ViewerWindow::step(int offset)
{
    // Forward from the last row stays there; back from the first row leaves
    // no row selected, and goes no further.
    const int target = std::clamp(m_pictures.selectedRow() + offset, -1, m_pictures.rowCount() - 1);
    m_pictures.showRow(target);
    showCurrentPicture();
    showNumber();
}

bool ViewerWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != 标签1 || event->type() != HotKeyEvent::eventType())
        return QDialog::eventFilter(watched, event);
    const int id = static_cast<HotKeyEvent *>(event)->hotKeyId();
    const GlobalState &state = GlobalState::current();
    if (id == state.LeftHotKeyId)
        stepPrevious();
    if (id == state.RightHotKeyId)
        stepNext();
    return true;
}
