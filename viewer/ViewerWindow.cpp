#include "viewer/ViewerWindow.h"

#include "reasons/PictureNote.h"
#include "toolkit/ControlPlacement.h"
#include "toolkit/FittedText.h"
#include "toolkit/PictureBox.h"
#include "toolkit/Screen.h"
#include "toolkit/WindowFonts.h"
#include "viewer/PictureSequence.h"
#include "viewer/ViewerTexts.h"
#include "viewer/ViewerWindowLayout.h"

#include <QFontMetrics>
#include <QLabel>
#include <QKeyEvent>
#include <QToolButton>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QColor CaptionColour(236, 236, 236);
constexpr QSize ButtonImageSize(16, 16);
// The number label's designed width; a longer caption widens it to the
// right, as far as this gap before the back button (the gap the design
// leaves between the two labels).
constexpr int NumberWidth = ViewerWindowLayout::NumberLabel.geometry.width();
constexpr int CaptionGap = 8;

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
    // The viewer takes every key itself: a focused button would take the
    // arrow keys to move the focus.
    button->setFocusPolicy(Qt::NoFocus);
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
    showNumber(m_pictures.rowName(m_pictures.selectedRow()));
}

ViewerWindow::~ViewerWindow()
{
    PictureLoader &loader = m_pictures.pictureLoader();
    loader.cancel(this);
    loader.prefetch({}, {});
    loader.setLargestBox({});
}

void ViewerWindow::createControls()
{
    setObjectName(u"ViewerWindow"_s);
    // No title of its own; a blank keeps the platform from putting the
    // program's name there.
    setWindowTitle(u" "_s);
    resize(400, 320);
    m_backdrop = placeControl(new QLabel(this), ViewerWindowLayout::Backdrop);
    m_pictureBox = placeControl(new PictureBox(this), ViewerWindowLayout::PictureBox);
    m_countLabel = placeControl(new QLabel(this), ViewerWindowLayout::CountLabel);
    m_numberLabel = placeControl(new QLabel(this), ViewerWindowLayout::NumberLabel);
    m_backButton = placeControl(imageButton(this, ViewerText::Back, u":/art/viewer-back.png"_s), ViewerWindowLayout::BackButton);
    m_forwardButton = placeControl(imageButton(this, ViewerText::Forward, u":/art/viewer-forward.png"_s),
                                   ViewerWindowLayout::ForwardButton);
    m_exitButton = placeControl(imageButton(this, ViewerText::Exit, u":/art/viewer-exit.png"_s), ViewerWindowLayout::ExitButton);
}

void ViewerWindow::styleControls()
{
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, CaptionColour);
    setPalette(black);
    setAutoFillBackground(true);
    for (QWidget *control : std::initializer_list<QWidget *>{m_backdrop, m_pictureBox, m_countLabel, m_numberLabel})
        control->setAutoFillBackground(true);
    for (QLabel *caption : {m_countLabel, m_numberLabel})
        caption->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
}

void ViewerWindow::connectEvents()
{
    connect(m_backButton, &QToolButton::clicked, this, &ViewerWindow::stepPrevious);
    connect(m_forwardButton, &QToolButton::clicked, this, &ViewerWindow::stepNext);
    connect(m_exitButton, &QToolButton::clicked, this, &ViewerWindow::reject);
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
    PictureLoader &loader = m_pictures.pictureLoader();
    const QSize box = m_pictureBox->size();
    loader.setLargestBox(box);
    loader.request(this, m_pictures.currentPicture(), box,
                   [this](const DecodedPicture &picture) { m_pictureBox->showPicture(picture.image, pictureNote(picture)); });
    const int row = m_pictures.selectedRow();
    loader.prefetch({m_pictures.pictureOfRow(row + 1), m_pictures.pictureOfRow(row - 1)}, box);
}

void ViewerWindow::showCount()
{
    showFittedText(*m_countLabel,
                   ViewerText::CountPrefix + QString::number(m_pictures.pictureCount()) + ViewerText::CountSuffix,
                   simSunFont());
}

void ViewerWindow::showNumber(const QString &name)
{
    m_numberCaption = ViewerText::NumberPrefix + name;
    fitNumber();
}

void ViewerWindow::fitNumber()
{
    const int room = m_backButton->x() - CaptionGap - m_numberLabel->x();
    const int width = std::max(NumberWidth, std::min(QFontMetrics(simSunFont()).horizontalAdvance(m_numberCaption), room));
    m_numberLabel->resize(width, m_numberLabel->height());
    showFittedText(*m_numberLabel, m_numberCaption, simSunFont());
}

void ViewerWindow::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    layoutViewer();
}

void ViewerWindow::keyPressEvent(QKeyEvent *event)
{
    const int offset = event->key() == Qt::Key_Left ? -1 : event->key() == Qt::Key_Right ? 1 : 0;
    if (offset == 0) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (event->isAutoRepeat() && m_stepsWaiting > 0)
        return;
    ++m_stepsWaiting;
    QMetaObject::invokeMethod(
        this,
        [this, offset] {
            --m_stepsWaiting;
            offset < 0 ? stepPrevious() : stepNext();
        },
        Qt::QueuedConnection);
}

void ViewerWindow::layoutViewer()
{
    m_backdrop->setGeometry(0, 0, width(), height());
    // The window stands at the screen's corner; the box keeps 10 pixels
    // from its left, top and right edges and ends where the bottom row begins.
    m_pictureBox->setGeometry(10, 10, width() - 20, height() - 40);
    const int screenW = screenWidth();
    const int rowTop = screenHeight() - 60;
    m_exitButton->move(screenW - 70, rowTop);
    m_backButton->move(truncated(screenW / 2.0 - 100), rowTop);
    m_forwardButton->move(truncated(screenW / 2.0 + 100), rowTop);
    m_countLabel->move(m_countLabel->x(), rowTop);
    m_numberLabel->move(m_numberLabel->x(), rowTop);
    fitNumber();
}

void ViewerWindow::stepPrevious()
{
    step(-1);
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
    // A step back onto no name shows the first number.
    const QString name = m_pictures.rowName(m_pictures.selectedRow());
    showNumber(offset < 0 && name.isEmpty() ? ViewerText::FirstNumber : name);
}
