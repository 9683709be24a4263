#include "KeyboardInput.h"
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

namespace {

std::vector<PictureStore::NewRecord> pictures(int count)
{
    std::vector<PictureStore::NewRecord> records;
    for (int i = 1; i <= count; ++i)
        records.push_back({u"%1"_s.arg(i, 4, 10, QChar(u'0')), u"png"_s,
                           pictureFile({30, 20}, QColor::fromHsv(i * 40, 200, 200))});
    return records;
}

// A program with its main window open on a library, and a folder for the
// files the user picks.
class Operations : public ::testing::Test
{
protected:
    void open(std::vector<PictureStore::NewRecord> records)
    {
        program.createLibrary(records);
        original = std::move(records);
        window.emplace(program.session());
        window->show();
        window->openLibrary();
    }

    QString pick(const QString &fileName, const QByteArray &bytes)
    {
        const QString path = QDir(files.path()).filePath(fileName);
        writeFile(path, bytes);
        return path;
    }

    void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    // Record n as stored.
    PictureStore::NewRecord stored(int n)
    {
        const PictureStore &store = window->library().store();
        return {store.name(n), store.category(n), store.picture(n).value_or(QByteArray())};
    }

    int count() { return window->library().store().count(); }

    bool unchanged(int n) { return stored(n).picture == original[std::size_t(n - 1)].picture; }

    CheckBoxList &list() { return *ui(*window).pictureList; }
    ScriptedResponder &responder() { return program.responder(); }

    TestProgram program;
    QTemporaryDir files;
    std::optional<MainWindow> window;
    std::vector<PictureStore::NewRecord> original;
};

}

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

TEST_F(Operations, ExportWritesExactlyTheStoredBytesUnderNameDotCategory)
{
    auto records = pictures(1);
    records[0] = {u"0001"_s, u"jpg"_s, pictureFile({50, 40}, Qt::magenta, "JPG")};
    open(records);
    click(ui(*window).exportButton);
    EXPECT_TRUE(responder().fileRequests().empty()) << "no row selected, no dialog";

    clickRow(list(), 0);
    ui(*window).nameBox->setText(u" 0001 "_s);
    const QDir out(files.path());
    responder().queueFileAnswer(out.filePath(u"0001"_s));
    responder().queueFileAnswer(out.filePath(u"a.jpg"_s));
    click(ui(*window).exportButton);
    click(ui(*window).exportButton);

    const FileDialogRequest &dialog = responder().fileRequests().front();
    EXPECT_EQ(dialog.kind, FileDialogKind::Save);
    EXPECT_EQ(dialog.title, u"请选择保存位置"_s);
    EXPECT_EQ(dialog.initialName, u" 0001 "_s) << "the name box as typed";
    EXPECT_EQ(dialog.filter, u"JPG图片(*.jpg)|*.jpg"_s);
    EXPECT_EQ(readFile(out.filePath(u"0001.jpg"_s)), records[0].picture);
    EXPECT_EQ(readFile(out.filePath(u"a.jpg.jpg"_s)), records[0].picture);
    EXPECT_TRUE(responder().messages().empty()) << "a successful export is silent";

    ui(*window).nameBox->setText(u"  "_s);
    click(ui(*window).exportButton);
    EXPECT_EQ(responder().fileRequests().size(), 2u) << "a blank name exports nothing";
}

TEST_F(Operations, ExportAsksAboutTheFileItReallyWrites)
{
    auto records = pictures(1);
    records[0] = {u"0002"_s, u"gif"_s, pictureFile({30, 30}, Qt::red, "GIF")};
    open(records);
    clickRow(list(), 0);
    const QDir out(files.path());
    const QByteArray oldGif("an older 0002.gif");
    const QByteArray bare("a file named zz, without extension");
    writeFile(out.filePath(u"0002.gif"_s), oldGif);
    writeFile(out.filePath(u"zz"_s), bare);

    responder().queueFileAnswer(out.filePath(u"0002"_s));
    responder().queueMessageAnswer(QMessageBox::No);
    click(ui(*window).exportButton);
    EXPECT_FALSE(responder().fileRequests().back().confirmOverwrite) << "the dialog's own question is off";
    ASSERT_EQ(responder().messages().size(), 1u);
    const MessageRequest &question = responder().messages().front();
    EXPECT_EQ(question.text, u"“"_s + QDir::toNativeSeparators(out.filePath(u"0002.gif"_s)) + u"”已存在。要替换它吗？"_s);
    EXPECT_EQ(question.kind, MessageKind::YesNoWarning) << "Yes/No, No the default";
    EXPECT_EQ(readFile(out.filePath(u"0002.gif"_s)), oldGif) << "No keeps the file";

    responder().queueFileAnswer(out.filePath(u"0002"_s));
    responder().queueMessageAnswer(QMessageBox::Yes);
    click(ui(*window).exportButton);
    EXPECT_EQ(readFile(out.filePath(u"0002.gif"_s)), records[0].picture);

    responder().queueFileAnswer(out.filePath(u"zz"_s));
    click(ui(*window).exportButton);
    EXPECT_EQ(responder().messages().size(), 2u) << "zz.gif is new: nothing to ask";
    EXPECT_EQ(readFile(out.filePath(u"zz"_s)), bare);
    EXPECT_EQ(readFile(out.filePath(u"zz.gif"_s)), records[0].picture);
}

TEST_F(Operations, FailedExportWritesNothingAndIsReported)
{
    auto records = pictures(2);
    records[0].picture = pictureFile({300, 300}, Qt::darkYellow, "BMP");
    records[1].picture = pictureFile({50, 50}, Qt::darkYellow, "BMP");
    ASSERT_LT(records[1].picture.size(), 16 * 1024) << "small enough to sit in a write buffer";
    open(records);
    const QDir out(files.path());
    const QByteArray oldContent("the file that was there before");
    writeFile(out.filePath(u"keep.png"_s), oldContent);
    out.mkdir(u"folder.png"_s);
    const auto exportTo = [&](const QString &name) {
        responder().queueFileAnswer(out.filePath(name));
        responder().queueMessageAnswer(QMessageBox::Yes);
        click(ui(*window).exportButton);
    };

    clickRow(list(), 0);
    exportTo(u"no such folder/0001"_s);
    exportTo(u"folder"_s);
    for (int row : {0, 1}) {
        clickRow(list(), row);
        const DiskFull full;
        exportTo(u"keep"_s);
        exportTo(u"new"_s);
    }
    // The picture's bytes are gone from under the open library.
    ASSERT_TRUE(QFile::resize(program.filePath(u"pic.EDT"_s), 0));
    exportTo(u"keep"_s);

    std::vector<MessageRequest> errors;
    std::copy_if(responder().messages().begin(), responder().messages().end(), std::back_inserter(errors),
                 [](const MessageRequest &message) { return message.kind == MessageKind::Stop; });
    ASSERT_EQ(errors.size(), 7u);
    for (const MessageRequest &message : errors) {
        EXPECT_EQ(message.title, u"错误"_s);
        EXPECT_TRUE(message.text.startsWith(u"图片无法导出到"_s)) << message.text.toStdString();
    }
    EXPECT_EQ(readFile(out.filePath(u"keep.png"_s)), oldContent) << "the old file stays whole";
    EXPECT_EQ(out.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({u"folder.png"_s, u"keep.png"_s}))
        << "no partial, empty or temporary file is left";
}

TEST_F(Operations, ExportNeverWritesOntoAFileTheProgramHolds)
{
    auto records = pictures(2);
    records[0] = {u"pic"_s, u"edb"_s, pictureFile({20, 20}, Qt::blue)};
    records[1] = {u"system"_s, QString(), pictureFile({20, 20}, Qt::red)};
    open(records);
    writeFile(program.filePath(u"system.dat"_s), "the accounts");
    const QByteArray library = readFile(program.filePath(u"pic.edb"_s));
    const QDir data(program.directory());
    const QString link = QDir(files.path()).filePath(u"link.jpg"_s);
    ASSERT_EQ(::symlink(QFile::encodeName(data.filePath(u"lumbra.lock"_s)).constData(), QFile::encodeName(link).constData()), 0);
    // pic + the category edb, system.dat without a category, a link to the lock file.
    for (const auto &[row, chosen] : {std::pair{0, data.filePath(u"pic"_s)}, std::pair{1, data.filePath(u"system.dat"_s)},
                                      std::pair{1, data.filePath(u"BAK/../Pic.EDT-journal"_s)}, std::pair{1, link}}) {
        clickRow(list(), row);
        responder().queueFileAnswer(chosen);
        click(ui(*window).exportButton);
        ASSERT_FALSE(responder().messages().empty()) << chosen.toStdString();
        EXPECT_TRUE(responder().messages().back().text.startsWith(u"不能导出到"_s)) << chosen.toStdString();
    }
    EXPECT_EQ(readFile(program.filePath(u"pic.edb"_s)), library);
    EXPECT_EQ(readFile(program.filePath(u"system.dat"_s)), "the accounts");
    EXPECT_FALSE(QFile::exists(program.filePath(u"Pic.EDT-journal"_s)));
    EXPECT_EQ(responder().messages().size(), 4u) << "no replace question before the refusal";
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
