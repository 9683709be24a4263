#include "TestFiles.h"
#include "TestPictures.h"
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
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

std::vector<PictureStore::NewRecord> fourPictures()
{
    return {{u"0001"_s, u"png"_s, pictureFile({40, 30}, Qt::red)},
            {u"0002"_s, u"png"_s, pictureFile({40, 30}, Qt::green)},
            {u"猫"_s, u"jpg"_s, pictureFile({40, 30}, Qt::blue, "JPG")},
            {u"0004"_s, u"png"_s, pictureFile({40, 30}, Qt::yellow)}};
}

}

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

    EXPECT_EQ(ui(window).选择列表框1->rowCount(), 0);
    EXPECT_EQ(ui(window).选择列表框1->selectedIndex(), -1);
    EXPECT_FALSE(ui(window).标签6->isHidden());
    EXPECT_FALSE(ui(window).标签7->isHidden());
    EXPECT_EQ(ui(window).标签7->text(), u"Vostrand 2008.3"_s);
    EXPECT_FALSE(ui(window).标签6->pixmap().isNull());
    EXPECT_FALSE(ui(window).标签3->isEnabled());
    EXPECT_TRUE(ui(window).编辑框1->text().isEmpty());
    EXPECT_EQ(ui(window).标签3->toolTip(), u"双击全屏浏览"_s);
}

TEST(MainWindowTest, ControlsStandInPlaceAndInStackingOrder)
{
    TestProgram program;
    MainWindow window(program.session());
    window.openLibrary();
    const std::vector<std::pair<QString, QRect>> layout = {
        {u"透明标签3"_s, {8, 0, 472, 24}},     {u"透明标签2"_s, {488, 0, 24, 24}},
        {u"透明标签1"_s, {528, 0, 24, 24}},    {u"标签6"_s, {54, 103, 300, 190}},
        {u"标签7"_s, {54, 325, 300, 24}},      {u"标签3"_s, {6, 26, 378, 389}},
        {u"标签1"_s, {250, 127, 70, 20}},      {u"标签2"_s, {180, 130, 60, 20}},
        {u"选择列表框1"_s, {416, 31, 100, 260}}, {u"标签5"_s, {384, 26, 161, 270}},
        {u"标签999"_s, {395, 310, 27, 22}},    {u"编辑框1"_s, {422, 310, 78, 22}},
        {u"按钮添加"_s, {499, 310, 33, 22}},   {u"按钮更新"_s, {397, 343, 66, 24}},
        {u"按钮改名"_s, {466, 343, 66, 24}},   {u"按钮导出"_s, {397, 378, 66, 24}},
        {u"按钮删除"_s, {466, 378, 66, 24}},   {u"标签4"_s, {384, 295, 161, 120}},
        {u"透明标签4"_s, {0, 420, 550, 30}},
    };
    for (const auto &[name, geometry] : layout) {
        const auto *unit = window.findChild<QWidget *>(name);
        ASSERT_NE(unit, nullptr) << name.toStdString();
        EXPECT_EQ(unit->geometry(), geometry) << name.toStdString();
    }
    EXPECT_EQ(ui(window).按钮更新->text(), u"更换图片"_s);
    EXPECT_TRUE(ui(window).透明标签4->text().startsWith(u"Vostrand  "_s));

    // Later children lie above earlier ones.
    const QObjectList children = window.children();
    auto above = [&](QObject *upper, QObject *lower) {
        return children.indexOf(upper) > children.indexOf(lower);
    };
    EXPECT_TRUE(above(ui(window).标签6, ui(window).标签3));
    EXPECT_TRUE(above(ui(window).标签7, ui(window).标签3));
    EXPECT_TRUE(above(ui(window).标签3, ui(window).标签1));
    EXPECT_TRUE(above(ui(window).标签3, ui(window).标签2));
    EXPECT_TRUE(above(ui(window).选择列表框1, ui(window).标签5));
    EXPECT_TRUE(above(ui(window).编辑框1, ui(window).标签4));
    EXPECT_TRUE(above(ui(window).按钮删除, ui(window).标签4));
}

TEST(MainWindowTest, SelectingRowIShowsRecordIPlusOne)
{
    TestProgram program;
    const auto records = fourPictures();
    program.createLibrary(records);
    MainWindow window(program.session());
    window.show();
    window.openLibrary();

    ASSERT_EQ(ui(window).选择列表框1->rowCount(), 4);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(ui(window).选择列表框1->rowText(row), records[std::size_t(row)].name);
    }
    EXPECT_EQ(ui(window).选择列表框1->selectedIndex(), -1) << "nothing is selected at start";

    clickRow(*ui(window).选择列表框1, 2);
    EXPECT_EQ(ui(window).选择列表框1->selectedIndex(), 2);
    EXPECT_EQ(ui(window).标签1->text(), u"3"_s);
    EXPECT_EQ(window.selectedRecord(), 3);
    EXPECT_EQ(ui(window).编辑框1->text(), u"猫"_s);
    EXPECT_EQ(ui(window).标签2->text(), u"jpg"_s);
    EXPECT_TRUE(shows(*ui(window).标签3, records[2].picture));
    EXPECT_FALSE(ui(window).标签3->pixmap().isNull());
    EXPECT_TRUE(ui(window).标签6->isHidden());
    EXPECT_TRUE(ui(window).标签7->isHidden());
    EXPECT_TRUE(ui(window).标签3->isEnabled());

    // The arrow keys move the selection like clicks do.
    QTest::keyClick(ui(window).选择列表框1, Qt::Key_Down);
    EXPECT_EQ(ui(window).标签1->text(), u"4"_s);
    EXPECT_EQ(window.selectedRecord(), 4);
    EXPECT_TRUE(shows(*ui(window).标签3, records[3].picture));
}

TEST(MainWindowTest, OnceARowIsSelectedTheUserCannotClearTheSelection)
{
    TestProgram program;
    const auto records = fourPictures();
    program.createLibrary(records);
    MainWindow window(program.session());
    window.show();
    window.openLibrary();
    CheckBoxList &list = *ui(window).选择列表框1;

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
    EXPECT_EQ(ui(window).编辑框1->text(), u"猫"_s);
    EXPECT_TRUE(shows(*ui(window).标签3, records[2].picture));
}

TEST(MainWindowTest, KeysDoWhatADesktopProgramsKeysDo)
{
    TestProgram program;
    program.createLibrary(fourPictures());
    MainWindow window(program.session());
    window.show();
    window.openLibrary();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    CheckBoxList &list = *ui(window).选择列表框1;
    ScriptedResponder &responder = program.responder();

    list.setFocus();
    QTest::keyClicks(&list, u"0004"_s);
    EXPECT_EQ(list.selectedIndex(), 3) << "typing a name's first letters jumps to it";

    QTest::keyClick(&list, Qt::Key_Delete);
    ASSERT_EQ(responder.messages().size(), 1u);
    EXPECT_EQ(responder.messages().front().title, u"真的删除吗？"_s);
    EXPECT_EQ(window.library().pictureCount(), 3) << "OK, the default, deleted it";

    QTest::keyClick(&list, Qt::Key_F2);
    EXPECT_TRUE(ui(window).编辑框1->hasFocus());
    EXPECT_EQ(ui(window).编辑框1->selectedText(), ui(window).编辑框1->text());
    QTest::keyClick(ui(window).编辑框1, Qt::Key_Delete);
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
    MainWindow window(program.session());
    window.show();
    window.openLibrary();

    EXPECT_EQ(ui(window).选择列表框1->rowText(0), ui(window).选择列表框1->rowText(1));
    clickRow(*ui(window).选择列表框1, 1);
    EXPECT_EQ(ui(window).标签1->text(), u"2"_s);
    EXPECT_EQ(ui(window).标签2->text(), u"bmp"_s);
    EXPECT_TRUE(shows(*ui(window).标签3, second));
    clickRow(*ui(window).选择列表框1, 0);
    EXPECT_EQ(ui(window).标签2->text(), u"png"_s);
    EXPECT_TRUE(shows(*ui(window).标签3, first));
}

TEST(MainWindowTest, ShowingWithoutAValidRowWritesNothingAndKeepsTheStorePosition)
{
    TestProgram program;
    const auto records = fourPictures();
    program.createLibrary(records);
    const QByteArray rowsBefore = readFile(program.filePath(u"pic.edb"_s));
    const QByteArray bytesBefore = readFile(program.filePath(u"pic.EDT"_s));
    MainWindow window(program.session());
    window.show();
    window.openLibrary();

    window.showSelectedPicture();
    EXPECT_TRUE(ui(window).标签3->pixmap().isNull());
    EXPECT_TRUE(ui(window).编辑框1->text().isEmpty());

    ui(window).选择列表框1->setSelectedIndex(1);
    window.showSelectedPicture();
    EXPECT_EQ(window.selectedRecord(), 2);
    EXPECT_FALSE(ui(window).选择列表框1->setSelectedIndex(4));
    window.showSelectedPicture();
    EXPECT_EQ(ui(window).选择列表框1->selectedIndex(), -1);
    EXPECT_EQ(window.selectedRecord(), 0);
    EXPECT_EQ(window.library().currentPicture().read(), records[1].picture) << "the record shown last stays current";
    EXPECT_TRUE(ui(window).标签3->pixmap().isNull());

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
    MainWindow window(program.session());
    window.show();
    window.openLibrary();

    clickRow(*ui(window).选择列表框1, 0);
    EXPECT_TRUE(shows(*ui(window).标签3, wide));
    const QSize shown = ui(window).标签3->pixmap().size();
    EXPECT_EQ(shown, QSize(378, 189)) << "fitted into the whole 378 x 389 preview";

    clickRow(*ui(window).选择列表框1, 1);
    EXPECT_TRUE(shows(*ui(window).标签3, small));
    EXPECT_EQ(ui(window).标签3->pixmap().size(), QSize(16, 16)) << "small pictures keep their size";

    clickRow(*ui(window).选择列表框1, 2);
    EXPECT_EQ(ui(window).编辑框1->text(), u"broken"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui(window).标签3->text() == u"不是可以显示的图片。"_s; }));
    EXPECT_TRUE(ui(window).标签3->pixmap().isNull());
}

TEST(MainWindowTest, DamagedLibraryIsReportedOnceAndLeftUntouched)
{
    TestProgram program;
    const QByteArray garbage = QByteArray("not a database ").repeated(200);
    for (const QString &name : {u"pic.edb"_s, u"pic.EDT"_s}) {
        QFile file(program.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    {
        MainWindow window(program.session());
        window.openLibrary();
        EXPECT_EQ(ui(window).选择列表框1->rowCount(), 0);
        window.showSelectedPicture();
        window.close();
    }
    ASSERT_EQ(program.responder().messages().size(), 1u);
    const MessageRequest &message = program.responder().messages().front();
    EXPECT_EQ(message.kind, MessageKind::Stop);
    EXPECT_EQ(message.title, u"错误"_s);
    EXPECT_TRUE(message.text.contains(u"图片库无法打开"_s));
    EXPECT_EQ(readFile(program.filePath(u"pic.edb"_s)), garbage);
    EXPECT_EQ(readFile(program.filePath(u"pic.EDT"_s)), garbage);
}

TEST(MainWindowTest, ADamagedLibraryCanComeBackFromItsBakCopy)
{
    TestProgram program;
    const auto records = fourPictures();
    program.createLibrary(records);
    {
        PictureStore store;
        ASSERT_TRUE(store.open(program.filePath(u"pic.edb"_s)));
        ASSERT_TRUE(QDir(program.directory()).mkdir(u"BAK"_s));
        ASSERT_TRUE(store.copyTo(program.filePath(u"BAK/pic.edb"_s)));
    }
    const QByteArray damaged = QByteArray("not a database ").repeated(300);
    writeFile(program.filePath(u"pic.edb"_s), damaged);
    const QByteArray bytes = readFile(program.filePath(u"pic.EDT"_s));
    ScriptedResponder &responder = program.responder();

    // No, the default, keeps the damaged files as they are.
    {
        MainWindow window(program.session());
        window.openLibrary();
        EXPECT_EQ(window.library().rowCount(), 0);
    }
    ASSERT_EQ(responder.messages().size(), 1u);
    const MessageRequest &question = responder.messages().front();
    EXPECT_EQ(question.title, u"恢复图片库"_s);
    EXPECT_EQ(question.kind, MessageKind::YesNoWarning);
    EXPECT_TRUE(question.text.startsWith(u"图片库无法打开：pic.edb"_s)) << question.text.toStdString();
    EXPECT_TRUE(question.text.contains(u"4 张图片"_s));
    EXPECT_EQ(readFile(program.filePath(u"pic.edb"_s)), damaged);

    responder.queueMessageAnswer(QMessageBox::Yes);
    MainWindow window(program.session());
    window.openLibrary();
    ASSERT_EQ(window.library().rowCount(), 4);
    EXPECT_EQ(window.library().rowName(2), u"猫"_s);
    EXPECT_EQ(responder.messages().size(), 2u);
    const QStringList kept = QDir(program.directory()).entryList({u"*.damaged-*"_s}, QDir::Files);
    ASSERT_EQ(kept.size(), 2) << kept.join(u' ').toStdString();
    EXPECT_EQ(readFile(program.filePath(kept.filter(u"pic.edb"_s).value(0))), damaged) << "kept, not deleted";
    EXPECT_EQ(readFile(program.filePath(kept.filter(u"pic.EDT"_s).value(0))), bytes);
}

TEST(MainWindowTest, OnlyADamagedLibraryIsOfferedItsBakCopy)
{
    TestProgram program;
    program.createLibrary(fourPictures());
    {
        PictureStore store;
        ASSERT_TRUE(store.open(program.filePath(u"pic.edb"_s)));
        ASSERT_TRUE(QDir(program.directory()).mkdir(u"BAK"_s));
        ASSERT_TRUE(store.copyTo(program.filePath(u"BAK/pic.edb"_s)));
    }
    sqlite3 *handle = nullptr;
    sqlite3_open(QFile::encodeName(program.filePath(u"pic.edb"_s)).constData(), &handle);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> other(handle, &sqlite3_close);
    const auto opensWithoutOffer = [&](const QString &told) {
        const std::size_t before = program.responder().messages().size();
        MainWindow window(program.session());
        window.openLibrary();
        EXPECT_EQ(window.library().rowCount(), 0);
        ASSERT_EQ(program.responder().messages().size(), before + 1);
        const MessageRequest &message = program.responder().messages().back();
        EXPECT_EQ(message.kind, MessageKind::Stop) << "no question";
        EXPECT_TRUE(message.text.contains(told)) << message.text.toStdString();
    };
    // Another program holds the library busy: the window waits, then says so.
    ASSERT_EQ(sqlite3_exec(handle, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    opensWithoutOffer(u"图片库正被另一个程序使用"_s);
    ASSERT_EQ(sqlite3_exec(handle, "ROLLBACK; PRAGMA user_version = 2", nullptr, nullptr, nullptr), SQLITE_OK);
    opensWithoutOffer(u"由更新版本的本程序写成"_s);
    ASSERT_EQ(sqlite3_exec(handle, "PRAGMA user_version = 1", nullptr, nullptr, nullptr), SQLITE_OK);
    MainWindow window(program.session());
    window.openLibrary();
    EXPECT_EQ(window.library().rowCount(), 4) << "the library was never replaced";
}

TEST(MainWindowTest, TitleStripDragsMinimisesAndExits)
{
    TestProgram program;
    MainWindow window(program.session());
    window.show();
    window.openLibrary();
    const QPoint start = window.pos();

    QTest::mousePress(ui(window).透明标签3, Qt::LeftButton, {}, {100, 12});
    QTest::mouseRelease(ui(window).透明标签3, Qt::LeftButton, {}, {100, 12});
    EXPECT_EQ(window.pos(), start) << "a press without a move leaves the window in place";

    QTest::mousePress(ui(window).透明标签3, Qt::LeftButton, {}, {100, 12});
    QTest::mouseMove(ui(window).透明标签3, {130, 32});
    QTest::mouseRelease(ui(window).透明标签3, Qt::LeftButton, {}, {130, 32});
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));

    QTest::mousePress(ui(window).透明标签2, Qt::LeftButton);
    EXPECT_TRUE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
    const QSignalSpy closed(&window, &MainWindow::closed);
    QTest::mousePress(ui(window).透明标签1, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible()) << "the close mark closes the window, nothing asked";
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(program.responder().messages().empty());
}

TEST(MainWindowTest, RightClickMenuOffersEveryCommandAndShowsThePanels)
{
    TestProgram program;
    program.createLibrary(fourPictures());
    MainWindow window(program.session());
    window.show();
    window.openLibrary();
    ScriptedResponder &responder = program.responder();

    responder.setMousePosition({200, 150});
    responder.queueMenuChoice(u"关于"_s);
    QTest::mouseClick(&window, Qt::RightButton, {}, {300, 440});
    ASSERT_EQ(responder.menus().size(), 1u);
    EXPECT_EQ(responder.menus().front(),
              (QStringList{u"修改口令"_s, u"备份用户信息"_s, u"还原用户信息"_s, u"帮助"_s, u"关于"_s, u"退出"_s}));
    const QList<QAction *> actions = ui(window).菜单->actions();
    ASSERT_EQ(actions.size(), 9);
    for (int separator : {1, 4, 7})
        EXPECT_TRUE(actions.at(separator)->isSeparator());
    ASSERT_NE(ui(window).气球提示框1->panel(), nullptr);
    EXPECT_EQ(ui(window).气球提示框1->panel()->text(), aboutPanelHtml());
    EXPECT_EQ(ui(window).气球提示框1->panel()->pos(), QPoint(200, 150));

    // About again shows the same panel at the new mouse position.
    responder.setMousePosition({260, 90});
    responder.queueMenuChoice(u"关于"_s);
    QTest::mouseClick(&window, Qt::RightButton, {}, {300, 440});
    QApplication::processEvents();
    EXPECT_EQ(ui(window).气球提示框1->panel()->text(), aboutPanelHtml());
    EXPECT_EQ(ui(window).气球提示框1->panel()->pos(), QPoint(260, 90));

    // Once a picture shows, the preview opens the menu too; Help replaces About.
    clickRow(*ui(window).选择列表框1, 0);
    responder.queueMenuChoice(u"帮助"_s);
    QTest::mouseClick(ui(window).标签3, Qt::RightButton);
    QApplication::processEvents();
    EXPECT_EQ(ui(window).气球提示框1->panel()->text(), helpPanelHtml());
    EXPECT_EQ(responder.menus().size(), 3u);

    // Exit closes the window at once, without a question.
    ui(window).选择列表框1->setSelectedIndex(-1);
    responder.queueMenuChoice(u"退出"_s);
    const QSignalSpy closed(&window, &MainWindow::closed);
    QTest::mouseClick(&window, Qt::RightButton, {}, {300, 440});
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(responder.messages().empty());
}

TEST(MainWindowTest, ChangePasswordOpensThePasswordWindowModally)
{
    TestProgram program;
    MainWindow window(program.session());
    window.show();
    window.openLibrary();

    QString shownUser;
    QString maskedOldPassword;
    QColor newPasswordLabelColour;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<PasswordWindow *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        modal = dialog->isModal();
        shownUser = ui(*dialog).用户编辑框->text();
        ui(*dialog).原口令编辑框->setText(u"3196"_s);
        maskedOldPassword = ui(*dialog).原口令编辑框->displayText();
        newPasswordLabelColour = ui(*dialog).透明标签3->palette().color(QPalette::WindowText);
        QTest::mouseClick(ui(*dialog).取消按钮, Qt::LeftButton);
    });
    program.responder().queueMenuChoice(u"修改口令"_s);
    QTest::mouseClick(&window, Qt::RightButton, {}, {300, 440});

    EXPECT_TRUE(modal);
    EXPECT_EQ(shownUser, u"管理员"_s);
    // The dialog keeps its own looks: masked with "*", labels in plain text colour.
    EXPECT_EQ(maskedOldPassword, u"****"_s);
    EXPECT_EQ(newPasswordLabelColour, window.palette().color(QPalette::WindowText));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the menu returns once the window has closed";
}
