#include "WidgetDriving.h"

#include "CheckBoxList.h"
#include "ViewerWindow.h"

#include <QApplication>
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

void clickRow(CheckBoxList &list, int row)
{
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rowPoint(list, row));
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
