#include "KeyboardInput.h"
#include "OperationsFixture.h"
#include "TestPictures.h"
#include "TestProgram.h"
#include "WidgetDriving.h"
#include "WindowControls.h"
#include "mainwindow/MainWindow.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/MessageBox.h"
#include "toolkit/PictureLabel.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QStandardPaths>
#include <QUrl>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <unistd.h>

using namespace Qt::StringLiterals;

TEST_F(Operations, AddStoresTheChosenFileAsTheNewLastRecord)
{
    open(pictures(4));
    const QByteArray jpeg = pictureFile({64, 48}, Qt::darkGreen, "JPG");
    responder().queueFileAnswer(pick(u"0001.jpg"_s, jpeg));
    click(ui(*window).addButton);

    ASSERT_EQ(responder().fileRequests().size(), 1u);
    const FileDialogRequest &dialog = responder().fileRequests().front();
    EXPECT_EQ(dialog.kind, FileDialogKind::Open);
    EXPECT_EQ(dialog.title, u"请选择要导入的图片"_s);
    EXPECT_EQ(dialog.initialName, QString());
    EXPECT_EQ(dialog.filter, u"图片文件[*.bmp;*.bmp;*.jpg;*.gif]|*.bmp;*.jpg;*.gif;*.ico|所有文件[*.*]|*.*"_s);

    ASSERT_EQ(count(), 5);
    EXPECT_EQ(stored(5).name, u"0001"_s);
    EXPECT_EQ(stored(5).category, u"jpg"_s);
    EXPECT_EQ(stored(5).picture, jpeg);
    EXPECT_EQ(list().selectedIndex(), 4);
    EXPECT_EQ(window->selectedRecord(), 5);
    EXPECT_TRUE(shows(*ui(*window).preview, jpeg));
    EXPECT_TRUE(responder().messages().empty());

    click(ui(*window).addButton);
    EXPECT_EQ(count(), 5) << "a cancelled dialog adds nothing";
}

TEST_F(Operations, ManyFilesAreAddedInOrderAndWhatFailsIsToldOnce)
{
    open(pictures(2));
    QStringList chosen;
    for (int i = 0; i < 5; ++i)
        chosen << pick(u"新%1.png"_s.arg(i), pictureFile({20, 20}, QColor::fromHsv(i * 60 + 10, 255, 200)));
    chosen.insert(2, files.path());
    responder().queueFilesAnswer(chosen);
    click(ui(*window).addButton);

    EXPECT_TRUE(responder().fileRequests().back().multiple);
    ASSERT_EQ(count(), 7);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(stored(3 + i).name, u"新%1"_s.arg(i)) << "in the order given";
    ASSERT_EQ(responder().messages().size(), 1u) << "one message for everything that failed";
    EXPECT_TRUE(responder().messages().front().text.startsWith(u"以下 1 个文件未能添加"_s));
    EXPECT_TRUE(responder().messages().front().text.contains(QDir::toNativeSeparators(files.path())));
    EXPECT_EQ(responder().progressLabels(), QStringList{u"正在添加图片……"_s});
    EXPECT_EQ(window->selectedRecord(), 7) << "the last one added is shown";

    // A cancel keeps what was added before it, listed, the last of it shown.
    responder().cancelProgress(u"正在添加图片……"_s, 2);
    chosen.clear();
    for (int i = 0; i < 5; ++i)
        chosen << pick(u"再%1.png"_s.arg(i), pictureFile({20, 20}, QColor::fromHsv(i * 60 + 40, 255, 120)));
    responder().queueFilesAnswer(chosen);
    click(ui(*window).addButton);
    ASSERT_EQ(count(), 9);
    EXPECT_EQ(stored(9).name, u"再1"_s);
    ASSERT_EQ(list().rowCount(), 9);
    EXPECT_EQ(list().rowText(7), u"再0"_s);
    EXPECT_EQ(list().rowText(8), u"再1"_s);
    EXPECT_EQ(list().selectedIndex(), 8);
    EXPECT_EQ(window->selectedRecord(), 9);
    EXPECT_EQ(ui(*window).nameBox->text(), u"再1"_s);
    EXPECT_TRUE(shows(*ui(*window).preview, readFile(chosen[1])));
}

TEST_F(Operations, APictureAlreadyInTheLibraryIsToldBeforeItIsAddedAgain)
{
    open(pictures(3));
    const QString copy = pick(u"副本.png"_s, original[1].picture);
    responder().queueFileAnswer(copy);
    click(ui(*window).addButton);
    ASSERT_EQ(responder().messages().size(), 1u);
    EXPECT_EQ(responder().messages().front().text,
              u"“副本.png”已经在图片库中，名为“0002”。\r\n\r\n仍要再添加一次吗？"_s);
    EXPECT_EQ(responder().messages().front().kind, MessageKind::YesNoWarning);
    EXPECT_EQ(count(), 3) << "No, the default, skips it";

    responder().queueFileAnswer(copy);
    responder().queueMessageAnswer(QMessageBox::Yes);
    click(ui(*window).addButton);
    EXPECT_EQ(count(), 4);
    responder().queueFileAnswer(pick(u"新.png"_s, pictureFile({9, 9}, Qt::cyan)));
    click(ui(*window).addButton);
    EXPECT_EQ(responder().messages().size(), 2u) << "a new picture is added without a question";
    EXPECT_EQ(count(), 5);
}

TEST_F(Operations, FilesDroppedOnTheWindowAreAdded)
{
    open(pictures(1));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(pick(u"甲.png"_s, pictureFile({10, 10}, Qt::red))),
                  QUrl::fromLocalFile(pick(u"乙.png"_s, pictureFile({10, 10}, Qt::green)))});
    QDragEnterEvent enter({100, 100}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&*window, &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&*window, &drop);
    ASSERT_EQ(count(), 3);
    EXPECT_EQ(stored(2).name, u"甲"_s);
    EXPECT_EQ(stored(3).name, u"乙"_s);
    EXPECT_EQ(window->selectedRecord(), 3);
}

TEST_F(Operations, FileDialogsStartWhereThePicturesAreAndRememberTheLastFolder)
{
    open(pictures(1));
    click(ui(*window).addButton);
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    EXPECT_EQ(responder().fileRequests().back().folder, QFileInfo(pictures).isDir() ? pictures : QDir::homePath());

    responder().queueFileAnswer(pick(u"一.png"_s, pictureFile({8, 8}, Qt::blue)));
    click(ui(*window).addButton);
    window.reset();
    window.emplace(program.session());
    window->openLibrary();
    clickRow(list(), 0);
    click(ui(*window).exportButton);
    EXPECT_EQ(responder().fileRequests().back().folder, files.path()) << "remembered at the next start";
    EXPECT_TRUE(readFile(program.filePath(u"lumbra.ini"_s)).contains(files.path().toUtf8())) << "on disk";
}

TEST_F(Operations, FileNamesSplitAtEveryDotAndAFileWithoutOneHasNoCategory)
{
    open({});
    const std::vector<std::tuple<QString, QString, QString>> cases = {
        {u"x.jpeg.bak"_s, u"x"_s, u"jpeg"_s}, {u"a.b.jpg"_s, u"a"_s, u"b"_s},
        {u"trailing."_s, u"trailing"_s, {}},  {u"scan"_s, u"scan"_s, {}}};
    int hue = 0;
    for (const auto &[fileName, name, category] : cases) {
        responder().queueFileAnswer(pick(fileName, pictureFile({8, 8}, QColor::fromHsv(hue += 70, 255, 255))));
        click(ui(*window).addButton);
        const int last = count();
        EXPECT_EQ(stored(last).name, name) << fileName.toStdString();
        EXPECT_EQ(stored(last).category, category) << fileName.toStdString();
    }

    // "scan" is shown: replace and export offer every file, and export
    // writes the chosen name without a trailing dot.
    const QString target = QDir(files.path()).filePath(u"out"_s);
    responder().queueFileAnswer(target);
    click(ui(*window).exportButton);
    click(ui(*window).replaceButton);
    EXPECT_EQ(responder().fileRequests().at(4).filter, u"所有文件[*.*]|*.*"_s);
    EXPECT_EQ(responder().fileRequests().at(5).filter, u"所有文件[*.*]|*.*"_s);
    EXPECT_EQ(readFile(target), stored(4).picture);
}

TEST_F(Operations, ReplaceChangesThePictureAndTakesTheCategoryOfTheNewFile)
{
    auto records = pictures(3);
    records[1] = {u"动图"_s, u"gif"_s, pictureFile({10, 10}, Qt::red, "GIF")};
    open(records);
    click(ui(*window).replaceButton);
    EXPECT_TRUE(responder().fileRequests().empty()) << "no row selected, no dialog";

    clickRow(list(), 1);
    const QByteArray replacement = pictureFile({12, 12}, Qt::cyan);
    responder().queueFileAnswer(pick(u"new.png"_s, replacement));
    click(ui(*window).replaceButton);

    ASSERT_EQ(responder().fileRequests().size(), 1u);
    const FileDialogRequest &dialog = responder().fileRequests().front();
    EXPECT_EQ(dialog.kind, FileDialogKind::Open);
    EXPECT_EQ(dialog.title, u"请选择新的图片"_s);
    EXPECT_EQ(dialog.filter, u"GIF图片(*.gif)|*.gif"_s);
    EXPECT_EQ(stored(2).picture, replacement);
    EXPECT_EQ(stored(2).name, u"动图"_s);
    EXPECT_EQ(stored(2).category, u"png"_s) << "PNG bytes are exported as .png, not .gif";
    EXPECT_EQ(list().selectedIndex(), 1);
    EXPECT_TRUE(shows(*ui(*window).preview, replacement));
    EXPECT_TRUE(unchanged(1) && unchanged(3));
}

TEST_F(Operations, UnusableFilesStoreNothingAndAreReported)
{
    open(pictures(3));
    clickRow(list(), 2);
    std::vector<QString> unusable = {QDir(files.path()).filePath(u"missing.jpg"_s), files.path(),
                                     pick(u"empty.jpg"_s, {})};
#ifdef Q_OS_LINUX
    unusable.push_back(u"/proc/self/mem"_s); // opens, but every read fails, even for root
#endif
    if (geteuid() != 0) {
        unusable.push_back(pick(u"locked.jpg"_s, pictureFile({4, 4}, Qt::red)));
        QFile::setPermissions(unusable.back(), {});
    }
    // Larger than the store takes: refused by its size, before any read.
    unusable.push_back(pick(u"huge.bmp"_s, "BM"));
    ASSERT_TRUE(QFile::resize(unusable.back(), window->library().store().pictureSizeLimit() + 1));

    for (const QString &path : unusable) {
        for (QPushButton *button : {ui(*window).addButton, ui(*window).replaceButton}) {
            responder().queueFileAnswer(path);
            click(button);
            const MessageRequest &message = responder().messages().back();
            EXPECT_EQ(message.kind, MessageKind::Stop);
            EXPECT_EQ(message.title, u"错误"_s);
            EXPECT_TRUE(message.text.contains(QDir::toNativeSeparators(path))) << message.text.toStdString();
        }
    }
    EXPECT_EQ(responder().messages().size(), 2 * unusable.size());
    EXPECT_TRUE(responder().messages().back().text.contains(u"文件太大"_s));
    EXPECT_EQ(count(), 3);
    EXPECT_TRUE(unchanged(1) && unchanged(2) && unchanged(3));
    EXPECT_TRUE(shows(*ui(*window).preview, original[2].picture));
}

TEST_F(Operations, RenameStoresTheNameWithoutSpaces)
{
    open(pictures(3));
    clickRow(list(), 1);
    ui(*window).nameBox->clear();
    QTest::keyClicks(ui(*window).nameBox, u" a b "_s);
    click(ui(*window).renameButton);
    EXPECT_EQ(stored(2).name, u"ab"_s);
    EXPECT_EQ(list().rowText(1), u"ab"_s);
    EXPECT_EQ(list().selectedIndex(), 1);
    EXPECT_EQ(ui(*window).nameBox->text(), u"ab"_s);

    for (const QString &blank : {u"   "_s, u"\u3000"_s}) {
        ui(*window).nameBox->setText(blank);
        click(ui(*window).renameButton);
        EXPECT_EQ(stored(2).name, u"ab"_s) << "a name of spaces changes nothing";
    }
}

TEST_F(Operations, LongNamesStayWholeAndTypingCountsCharacters)
{
    auto records = pictures(2);
    records[0].name = u"一个比二十个字符还要长得多的图片名字也要完整地保存下来"_s;
    open(records);
    clickRow(list(), 0);
    EXPECT_EQ(ui(*window).nameBox->text(), records[0].name) << "a stored name shows whole";
    click(ui(*window).renameButton);
    EXPECT_EQ(stored(1).name, records[0].name) << "renaming without an edit keeps it whole";

    clickRow(list(), 1);
    ui(*window).nameBox->clear();
    const QString nineteen(19, u'a');
    typeText(ui(*window).nameBox, nineteen + u"😀"_s + u"bc"_s);
    EXPECT_EQ(ui(*window).nameBox->text(), nineteen + u"😀"_s) << "20 characters, the emoji whole";
    click(ui(*window).renameButton);
    EXPECT_EQ(stored(2).name, nineteen + u"😀"_s);
}

TEST_F(Operations, FailedChangesAreReportedAndTheNextChangeWorks)
{
    open(pictures(3));
    clickRow(list(), 1);
    responder().queueFileAnswer(pick(u"0004.png"_s, pictureFile({90, 90}, Qt::cyan)));
    {
        const DiskFull full;
        click(ui(*window).deleteButton);
        ui(*window).nameBox->setText(u"新名"_s);
        click(ui(*window).renameButton);
        click(ui(*window).addButton);
    }
    ASSERT_EQ(responder().messages().size(), 4u) << "the delete question and three failures";
    for (std::size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(responder().messages()[i].kind, MessageKind::Stop);
        EXPECT_TRUE(responder().messages()[i].text.contains(u"磁盘已满"_s))
            << responder().messages()[i].text.toStdString();
    }
    EXPECT_EQ(count(), 3);
    EXPECT_TRUE(unchanged(1) && unchanged(2) && unchanged(3));
    EXPECT_EQ(list().rowText(1), original[1].name);

    click(ui(*window).deleteButton);
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(stored(2).name, original[2].name) << "only the chosen picture went";
}

TEST_F(Operations, DeleteAsksFirstThenShowsThePictureThatFollowed)
{
    open(pictures(5));
    clickRow(list(), 1);
    responder().queueMessageAnswer(QMessageBox::Cancel);
    click(ui(*window).deleteButton);
    ASSERT_EQ(responder().messages().size(), 1u);
    EXPECT_EQ(responder().messages()[0].text, u"删除图片将不可恢复。\r\n\r\n继续吗？"_s);
    EXPECT_EQ(responder().messages()[0].title, u"真的删除吗？"_s);
    EXPECT_EQ(responder().messages()[0].kind, MessageKind::OkCancelQuestion);
    EXPECT_EQ(count(), 5) << "Cancel deletes nothing";

    responder().queueMessageAnswer(QMessageBox::Ok);
    click(ui(*window).deleteButton);
    ASSERT_EQ(count(), 4);
    EXPECT_EQ(list().selectedIndex(), 1);
    EXPECT_EQ(ui(*window).nameBox->text(), original[2].name);
    EXPECT_TRUE(shows(*ui(*window).preview, original[2].picture));
    EXPECT_EQ(stored(2).picture, original[2].picture) << "the former record 3 is now record 2";
}

TEST_F(Operations, DeletingTheLastRowSelectsTheNewLastRowUntilTheLibraryIsEmpty)
{
    open(pictures(2));
    clickRow(list(), 1);
    click(ui(*window).deleteButton);
    ASSERT_EQ(count(), 1);
    EXPECT_EQ(list().selectedIndex(), 0);
    EXPECT_TRUE(shows(*ui(*window).preview, original[0].picture));
    EXPECT_TRUE(unchanged(1));

    click(ui(*window).deleteButton);
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(list().selectedIndex(), -1);
    EXPECT_TRUE(ui(*window).welcomePicture->isHidden()) << "the welcome labels never come back";
    EXPECT_TRUE(ui(*window).welcomeLine->isHidden());
    EXPECT_TRUE(ui(*window).preview->isEnabled()) << "the window stays in the showing state";
    EXPECT_TRUE(ui(*window).preview->pixmap().isNull());
    EXPECT_TRUE(ui(*window).nameBox->text().isEmpty());
    click(ui(*window).deleteButton);
    EXPECT_EQ(responder().messages().size(), 2u) << "nothing selected, nothing asked";
}

TEST_F(Operations, CancellingTheFirstFingerprintPassCancelsTheAdd)
{
    program.createLibrary(pictures(5));
    // A library of an earlier build has no fingerprints yet.
    sqlite3 *handle = nullptr;
    sqlite3_open(QFile::encodeName(program.filePath(u"pic.edb"_s)).constData(), &handle);
    ASSERT_EQ(sqlite3_exec(handle, "DELETE FROM picture_digests", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(handle);
    window.emplace(program.session());
    window->show();
    window->openLibrary();
    const QString added = pick(u"新.png"_s, pictureFile({9, 9}, Qt::cyan));
    responder().cancelProgress(u"正在清点图片库中已有的图片……"_s);
    responder().queueFileAnswer(added);
    click(ui(*window).addButton);
    EXPECT_EQ(count(), 5) << "nothing added unchecked";
    EXPECT_TRUE(responder().messages().empty());

    responder().cancelProgress({});
    responder().queueFileAnswer(added);
    click(ui(*window).addButton);
    EXPECT_EQ(count(), 6);
}
