#include "TestFiles.h"
#include "TestPictures.h"
#include "OpenMainWindow.h"
#include "TestProgram.h"
#include "WidgetDriving.h"
#include "WindowControls.h"
#include "auth/PasswordWindow.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MainWindowMenu.h"
#include "toolkit/BalloonTip.h"
#include "toolkit/CheckBoxList.h"
#include "viewer/ViewerWindow.h"
#include "toolkit/MessageBox.h"
#include "toolkit/PictureLabel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void chooseFromMenu(MainWindow &window, ScriptedResponder &responder, const QString &item)
{
    responder.queueMenuChoice(item);
    QTest::mouseClick(&window, Qt::RightButton, {}, {300, 440});
}

}

TEST(MainWindowMenuTest, TitleStripDragsMinimisesAndExits)
{
    TestProgram program;
    OpenMainWindow window(program);
    const QPoint start = window.pos();

    QTest::mousePress(ui(window).title, Qt::LeftButton, {}, {100, 12});
    QTest::mouseRelease(ui(window).title, Qt::LeftButton, {}, {100, 12});
    EXPECT_EQ(window.pos(), start) << "a press without a move leaves the window in place";

    QTest::mousePress(ui(window).title, Qt::LeftButton, {}, {100, 12});
    QTest::mouseMove(ui(window).title, {130, 32});
    QTest::mouseRelease(ui(window).title, Qt::LeftButton, {}, {130, 32});
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));

    QTest::mousePress(ui(window).minimiseMark, Qt::LeftButton);
    EXPECT_TRUE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
    const QSignalSpy closed(&window, &MainWindow::closed);
    QTest::mousePress(ui(window).closeMark, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible()) << "the close mark closes the window, nothing asked";
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(program.responder().messages().empty());
}

TEST(MainWindowMenuTest, RightClickMenuOffersEveryCommandAndShowsAboutAtTheMouse)
{
    TestProgram program;
    program.createLibrary(fourPictures());
    OpenMainWindow window(program);
    ScriptedResponder &responder = program.responder();

    responder.setMousePosition({200, 150});
    chooseFromMenu(window, responder, u"关于"_s);
    ASSERT_EQ(responder.menus().size(), 1u);
    EXPECT_EQ(responder.menus().front(),
              (QStringList{u"修改口令"_s, u"备份用户信息"_s, u"还原用户信息"_s, u"帮助"_s, u"关于"_s, u"退出"_s}));
    const QList<QAction *> actions = ui(window).menu->actions();
    ASSERT_EQ(actions.size(), 9);
    for (int separator : {1, 4, 7})
        EXPECT_TRUE(actions.at(separator)->isSeparator());
    ASSERT_NE(ui(window).balloonTip->panel(), nullptr);
    EXPECT_EQ(ui(window).balloonTip->panel()->text(), aboutPanelHtml());
    EXPECT_EQ(ui(window).balloonTip->panel()->pos(), QPoint(200, 150));

    // About again shows the same panel at the new mouse position.
    responder.setMousePosition({260, 90});
    chooseFromMenu(window, responder, u"关于"_s);
    QApplication::processEvents();
    EXPECT_EQ(ui(window).balloonTip->panel()->text(), aboutPanelHtml());
    EXPECT_EQ(ui(window).balloonTip->panel()->pos(), QPoint(260, 90));
}

TEST(MainWindowMenuTest, ThePreviewOpensTheMenuTooAndExitClosesTheWindow)
{
    TestProgram program;
    program.createLibrary(fourPictures());
    OpenMainWindow window(program);
    ScriptedResponder &responder = program.responder();
    chooseFromMenu(window, responder, u"关于"_s);

    // Once a picture shows, the preview opens the menu too; Help replaces About.
    clickRow(*ui(window).pictureList, 0);
    responder.queueMenuChoice(u"帮助"_s);
    QTest::mouseClick(ui(window).preview, Qt::RightButton);
    QApplication::processEvents();
    EXPECT_EQ(ui(window).balloonTip->panel()->text(), helpPanelHtml());
    EXPECT_EQ(responder.menus().size(), 2u);

    // Exit closes the window at once, without a question.
    ui(window).pictureList->setSelectedIndex(-1);
    const QSignalSpy closed(&window, &MainWindow::closed);
    chooseFromMenu(window, responder, u"退出"_s);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(responder.messages().empty());
}

TEST(MainWindowMenuTest, ChangePasswordOpensThePasswordWindowModally)
{
    TestProgram program;
    OpenMainWindow window(program);

    QString shownUser;
    QString maskedOldPassword;
    QColor newPasswordLabelColour;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<PasswordWindow *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        modal = dialog->isModal();
        shownUser = ui(*dialog).userBox->text();
        ui(*dialog).oldPasswordBox->setText(u"3196"_s);
        maskedOldPassword = ui(*dialog).oldPasswordBox->displayText();
        newPasswordLabelColour = ui(*dialog).newCaption->palette().color(QPalette::WindowText);
        QTest::mouseClick(ui(*dialog).cancelButton, Qt::LeftButton);
    });
    const QSignalSpy keyChanged(qobject_cast<MainWindowMenu *>(ui(window).menu), &MainWindowMenu::libraryKeyChanged);
    program.responder().queueMenuChoice(u"修改口令"_s);
    QTest::mouseClick(&window, Qt::RightButton, {}, {300, 440});
    EXPECT_EQ(keyChanged.count(), 0) << "a cancelled change brings no key";

    EXPECT_TRUE(modal);
    EXPECT_EQ(shownUser, u"管理员"_s);
    // The dialog keeps its own looks: masked with "*", labels in plain text colour.
    EXPECT_EQ(maskedOldPassword, u"****"_s);
    EXPECT_EQ(newPasswordLabelColour, window.palette().color(QPalette::WindowText));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the menu returns once the window has closed";
}
