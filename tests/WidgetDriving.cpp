#include "WidgetDriving.h"

#include "pictures/PictureDecoder.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/PictureBox.h"
#include "viewer/ViewerWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QPoint rowPoint(CheckBoxList &list, int row)
{
    const QRect area = list.visualRect(list.model()->index(row, 0));
    return area.center() + QPoint(10, 0);
}

}

void clickRow(CheckBoxList &list, int row, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseClick(list.viewport(), Qt::LeftButton, modifiers, rowPoint(list, row));
}

void doubleClickRow(CheckBoxList &list, int row)
{
    // A person's double-click: the first click selects, the second opens.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowPoint(list, row));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, rowPoint(list, row));
}

void pressKey(QWidget &widget, int key)
{
    QTest::keyClick(&widget, Qt::Key(key));
    QCoreApplication::processEvents();
}

int exitStatusAfter(const std::function<void()> &steps, std::chrono::milliseconds limit)
{
    QTimer first;
    first.setSingleShot(true);
    QObject::connect(&first, &QTimer::timeout, steps);
    first.start(0);
    QTimer last;
    last.setSingleShot(true);
    QObject::connect(&last, &QTimer::timeout, [] { QCoreApplication::exit(NotEnded); });
    last.start(limit);
    return QApplication::exec();
}

void whenViewerOpens(std::function<void(ViewerWindow &)> check)
{
    QTimer::singleShot(0, [check = std::move(check)] {
        auto *viewer = qobject_cast<ViewerWindow *>(QApplication::activeModalWidget());
        if (!viewer) {
            ADD_FAILURE() << "no viewer is open";
            return;
        }
        check(*viewer);
        if (viewer->isVisible())
            viewer->reject();
    });
}

namespace {

// The same size and, pixel for pixel, nearly the same colours: scaling
// paths may round differently.
bool sameImage(const QImage &shown, const QImage &expected)
{
    if (expected.isNull() || shown.size() != expected.size())
        return false;
    const QImage a = shown.convertToFormat(QImage::Format_ARGB32);
    const QImage b = expected.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y) {
        const auto *lineA = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *lineB = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (std::abs(qRed(lineA[x]) - qRed(lineB[x])) > 8 || std::abs(qGreen(lineA[x]) - qGreen(lineB[x])) > 8
                || std::abs(qBlue(lineA[x]) - qBlue(lineB[x])) > 8)
                return false;
        }
    }
    return true;
}

}

bool shows(const QLabel &preview, const QByteArray &picture)
{
    const QImage expected = decodePicture(picture, preview.contentsRect().size()).image;
    // The picture arrives from a worker thread.
    return QTest::qWaitFor([&] { return sameImage(preview.pixmap().toImage(), expected); }, 2000);
}

bool shows(const PictureBox &box, const QByteArray &picture)
{
    const QImage expected = decodePicture(picture, box.size()).image;
    return QTest::qWaitFor([&] { return sameImage(box.image(), expected); }, 2000);
}

::testing::AssertionResult standsWhole(const QWidget &control)
{
    const std::string name = control.objectName().toStdString();
    if (!control.window()->rect().contains(control.geometry()))
        return ::testing::AssertionFailure() << name << " reaches outside its window";
    QString text;
    if (const auto *label = qobject_cast<const QLabel *>(&control))
        text = label->text();
    else if (const auto *button = qobject_cast<const QAbstractButton *>(&control))
        text = QString(button->text()).remove(u'&');
    const int needed = QFontMetrics(control.font()).horizontalAdvance(text);
    if (needed > control.contentsRect().width())
        return ::testing::AssertionFailure() << name << ": " << text.toStdString() << " takes " << needed
                                             << " px of " << control.contentsRect().width();
    return ::testing::AssertionSuccess();
}

void expectTabOrder(QWidget *first, const std::vector<QWidget *> &next)
{
    QWidget *focus = first;
    for (QWidget *expected : next) {
        focus = focus->nextInFocusChain();
        while (!focus->isEnabled() || focus->focusPolicy() == Qt::NoFocus)
            focus = focus->nextInFocusChain();
        EXPECT_EQ(focus, expected) << focus->objectName().toStdString();
    }
}
