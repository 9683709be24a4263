#include "TestFiles.h"
#include "TestPictures.h"
#include "OpenMainWindow.h"
#include "TestProgram.h"
#include "WidgetDriving.h"
#include "WindowControls.h"
#include "auth/PasswordWindow.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/MainWindow.h"
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

TEST(MainWindowTest, NewInstallationStartsEmptyInTheWelcomeState)
{
    TestProgram program;
    MainWindow window(program.session());
    EXPECT_FALSE(QFile::exists(program.filePath(u"pic.edb"_s))) << "the window opens the library when told to";
    window.openLibrary();

    EXPECT_TRUE(QFile::exists(program.filePath(u"pic.edb"_s)));
    EXPECT_TRUE(QFile::exists(program.filePath(u"pic.EDT"_s)));
    EXPECT_TRUE(program.responder().messages().empty());
    EXPECT_EQ(window.size(), QSize(550, 450));
    EXPECT_EQ(window.windowTitle(), u" Lumbra v2008.3"_s);
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);

    EXPECT_EQ(ui(window).pictureList->rowCount(), 0);
    EXPECT_EQ(ui(window).pictureList->selectedIndex(), -1);
    EXPECT_FALSE(ui(window).welcomePicture->isHidden());
    EXPECT_FALSE(ui(window).welcomeLine->isHidden());
    EXPECT_EQ(ui(window).welcomeLine->text(), u"Vostrand 2008.3"_s);
    EXPECT_FALSE(ui(window).welcomePicture->pixmap().isNull());
    EXPECT_FALSE(ui(window).preview->isEnabled());
    EXPECT_TRUE(ui(window).nameBox->text().isEmpty());
    EXPECT_EQ(ui(window).preview->toolTip(), u"双击全屏浏览"_s);
}

TEST(MainWindowTest, EveryControlStandsWholeAndNoneHidesAnother)
{
    TestProgram program;
    MainWindow window(program.session());
    window.openLibrary();
    const MainWindowControls c = ui(window);
    for (const QWidget *control :
         std::initializer_list<const QWidget *>{c.recordNumber, c.category, c.preview, c.welcomePicture, c.welcomeLine,
                                                c.listFrame, c.pictureList, c.buttonFrame, c.nameCaption, c.nameBox,
                                                c.addButton, c.replaceButton, c.renameButton, c.exportButton,
                                                c.deleteButton, c.title, c.footer})
        EXPECT_TRUE(standsWhole(*control));
    // What the user clicks or types into never lies under another; the
    // design lets the name box and 添加 share their border pixel.
    const std::vector<const QWidget *> active = {c.pictureList, c.nameBox, c.addButton, c.replaceButton,
                                                 c.renameButton, c.exportButton, c.deleteButton,
                                                 c.minimiseMark, c.closeMark};
    for (std::size_t i = 0; i < active.size(); ++i) {
        for (std::size_t j = i + 1; j < active.size(); ++j)
            EXPECT_LE(active[i]->geometry().intersected(active[j]->geometry()).width(), 1)
                << active[i]->objectName().toStdString() << " and " << active[j]->objectName().toStdString();
    }
    EXPECT_EQ(ui(window).replaceButton->text(), u"更换图片"_s);
    EXPECT_TRUE(ui(window).footer->text().startsWith(u"Vostrand  "_s));

    // Later children lie above earlier ones.
    const QObjectList children = window.children();
    auto above = [&](QObject *upper, QObject *lower) {
        return children.indexOf(upper) > children.indexOf(lower);
    };
    EXPECT_TRUE(above(ui(window).welcomePicture, ui(window).preview));
    EXPECT_TRUE(above(ui(window).welcomeLine, ui(window).preview));
    EXPECT_TRUE(above(ui(window).preview, ui(window).recordNumber));
    EXPECT_TRUE(above(ui(window).preview, ui(window).category));
    EXPECT_TRUE(above(ui(window).pictureList, ui(window).listFrame));
    EXPECT_TRUE(above(ui(window).nameBox, ui(window).buttonFrame));
    EXPECT_TRUE(above(ui(window).deleteButton, ui(window).buttonFrame));
}

TEST(MainWindowTest, SelectingRowIShowsRecordIPlusOne)
{
    TestProgram program;
    const auto records = fourPictures();
    program.createLibrary(records);
    OpenMainWindow window(program);

    ASSERT_EQ(ui(window).pictureList->rowCount(), 4);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(ui(window).pictureList->rowText(row), records[std::size_t(row)].name);
    }
    EXPECT_EQ(ui(window).pictureList->selectedIndex(), -1) << "nothing is selected at start";

    clickRow(*ui(window).pictureList, 2);
    EXPECT_EQ(ui(window).pictureList->selectedIndex(), 2);
    EXPECT_EQ(ui(window).recordNumber->text(), u"3"_s);
    EXPECT_EQ(window.selectedRecord(), 3);
    EXPECT_EQ(ui(window).nameBox->text(), u"猫"_s);
    EXPECT_EQ(ui(window).category->text(), u"jpg"_s);
    EXPECT_TRUE(shows(*ui(window).preview, records[2].picture));
    EXPECT_FALSE(ui(window).preview->pixmap().isNull());
    EXPECT_TRUE(ui(window).welcomePicture->isHidden());
    EXPECT_TRUE(ui(window).welcomeLine->isHidden());
    EXPECT_TRUE(ui(window).preview->isEnabled());

    // The arrow keys move the selection like clicks do.
    QTest::keyClick(ui(window).pictureList, Qt::Key_Down);
    EXPECT_EQ(ui(window).recordNumber->text(), u"4"_s);
    EXPECT_EQ(window.selectedRecord(), 4);
    EXPECT_TRUE(shows(*ui(window).preview, records[3].picture));
}

TEST(MainWindowTest, OnceARowIsSelectedTheUserCannotClearTheSelection)
{
    TestProgram program;
    const auto records = fourPictures();
    program.createLibrary(records);
    OpenMainWindow window(program);
    CheckBoxList &list = *ui(window).pictureList;

    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(list.selectedIndex(), 0) << "the first Down selects the first row";
    clickRow(list, 2);
    const QPoint belowRows(20, list.viewport()->height() - 5);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, belowRows);
    clickRow(list, 2, Qt::ControlModifier);
    QTest::keyClick(&list, Qt::Key_Space, Qt::ControlModifier);
    QTest::mousePress(list.viewport(), Qt::LeftButton, {}, belowRows);
    QTest::mouseMove(list.viewport(), belowRows - QPoint(0, 40));
    QTest::mouseMove(list.viewport(), belowRows + QPoint(50, 0));
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, belowRows + QPoint(50, 0));
    EXPECT_EQ(list.selectedIndex(), 2) << "a click or a drag beside the rows or a Ctrl+click changes nothing";
    EXPECT_EQ(window.selectedRecord(), 3);
    EXPECT_EQ(ui(window).nameBox->text(), u"猫"_s);
    EXPECT_TRUE(shows(*ui(window).preview, records[2].picture));
}

TEST(MainWindowTest, KeysDoWhatADesktopProgramsKeysDo)
{
    TestProgram program;
    program.createLibrary(fourPictures());
    OpenMainWindow window(program);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    CheckBoxList &list = *ui(window).pictureList;
    ScriptedResponder &responder = program.responder();

    list.setFocus();
    QTest::keyClicks(&list, u"0004"_s);
    EXPECT_EQ(list.selectedIndex(), 3) << "typing a name's first letters jumps to it";

    QTest::keyClick(&list, Qt::Key_Delete);
    ASSERT_EQ(responder.messages().size(), 1u);
    EXPECT_EQ(responder.messages().front().title, u"真的删除吗？"_s);
    EXPECT_EQ(window.library().pictureCount(), 3) << "OK, the default, deleted it";

    QTest::keyClick(&list, Qt::Key_F2);
    EXPECT_TRUE(ui(window).nameBox->hasFocus());
    EXPECT_EQ(ui(window).nameBox->selectedText(), ui(window).nameBox->text());
    QTest::keyClick(ui(window).nameBox, Qt::Key_Delete);
    EXPECT_EQ(window.library().pictureCount(), 3) << "Delete in the name box is a text key";

    list.setFocus();
    responder.queueMenuChoice(u"帮助"_s);
    QTest::keyClick(&list, Qt::Key_Menu);
    EXPECT_EQ(responder.menus().size(), 1u) << "the menu key opens the menu";

    bool opened = false;
    whenViewerOpens([&](ViewerWindow &) { opened = true; });
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_TRUE(opened) << "Enter opens the viewer";
}

TEST(MainWindowTest, DuplicateNamesAreToldApartByRecordNumber)
{
    TestProgram program;
    const QByteArray first = pictureFile({20, 20}, Qt::red);
    const QByteArray second = pictureFile({20, 20}, Qt::blue);
    program.createLibrary({{u"同名"_s, u"png"_s, first}, {u"同名"_s, u"bmp"_s, second}});
    OpenMainWindow window(program);

    EXPECT_EQ(ui(window).pictureList->rowText(0), ui(window).pictureList->rowText(1));
    clickRow(*ui(window).pictureList, 1);
    EXPECT_EQ(ui(window).recordNumber->text(), u"2"_s);
    EXPECT_EQ(ui(window).category->text(), u"bmp"_s);
    EXPECT_TRUE(shows(*ui(window).preview, second));
    clickRow(*ui(window).pictureList, 0);
    EXPECT_EQ(ui(window).category->text(), u"png"_s);
    EXPECT_TRUE(shows(*ui(window).preview, first));
}

TEST(MainWindowTest, ShowingWithoutAValidRowWritesNothingAndKeepsTheStorePosition)
{
    TestProgram program;
    const auto records = fourPictures();
    program.createLibrary(records);
    const QByteArray rowsBefore = readFile(program.filePath(u"pic.edb"_s));
    const QByteArray bytesBefore = readFile(program.filePath(u"pic.EDT"_s));
    OpenMainWindow window(program);

    window.showSelectedPicture();
    EXPECT_TRUE(ui(window).preview->pixmap().isNull());
    EXPECT_TRUE(ui(window).nameBox->text().isEmpty());

    ui(window).pictureList->setSelectedIndex(1);
    window.showSelectedPicture();
    EXPECT_EQ(window.selectedRecord(), 2);
    EXPECT_FALSE(ui(window).pictureList->setSelectedIndex(4));
    window.showSelectedPicture();
    EXPECT_EQ(ui(window).pictureList->selectedIndex(), -1);
    EXPECT_EQ(window.selectedRecord(), 0);
    EXPECT_EQ(window.library().currentPicture().read(), records[1].picture) << "the record shown last stays current";
    EXPECT_TRUE(ui(window).preview->pixmap().isNull());

    window.close();
    EXPECT_FALSE(window.library().store().isOpen()) << "closing the window closes the store";
    EXPECT_EQ(readFile(program.filePath(u"pic.edb"_s)), rowsBefore);
    EXPECT_EQ(readFile(program.filePath(u"pic.EDT"_s)), bytesBefore);
}

TEST(MainWindowTest, PreviewFitsLargePicturesAndNotesWhatItCannotShow)
{
    TestProgram program;
    const QByteArray wide = pictureFile({1000, 500}, Qt::darkCyan, "JPG");
    const QByteArray small = pictureFile({16, 16}, Qt::darkRed, "BMP");
    const QByteArray notAPicture("this is no picture at all");
    program.createLibrary({{u"wide"_s, u"jpg"_s, wide},
                           {u"small"_s, u"bmp"_s, small},
                           {u"broken"_s, u"gif"_s, notAPicture}});
    OpenMainWindow window(program);

    clickRow(*ui(window).pictureList, 0);
    EXPECT_TRUE(shows(*ui(window).preview, wide));
    const QSize shown = ui(window).preview->pixmap().size();
    EXPECT_EQ(shown, QSize(378, 189)) << "fitted into the whole 378 x 389 preview";

    clickRow(*ui(window).pictureList, 1);
    EXPECT_TRUE(shows(*ui(window).preview, small));
    EXPECT_EQ(ui(window).preview->pixmap().size(), QSize(16, 16)) << "small pictures keep their size";

    clickRow(*ui(window).pictureList, 2);
    EXPECT_EQ(ui(window).nameBox->text(), u"broken"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui(window).preview->text() == u"不是可以显示的图片。"_s; }));
    EXPECT_TRUE(ui(window).preview->pixmap().isNull());
}
