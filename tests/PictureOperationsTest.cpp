#include "CheckBoxList.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "PictureLabel.h"
#include "TestPictures.h"
#include "TestProgram.h"
#include "WidgetDriving.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
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
        window.emplace();
        window->show();
    }

    QString pick(const QString &fileName, const QByteArray &bytes)
    {
        const QString path = QDir(files.path()).filePath(fileName);
        writeFile(path, bytes);
        return path;
    }

    void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    // Record n as stored, read without moving the store.
    PictureStore::NewRecord stored(int n)
    {
        PictureStore &store = window->store();
        const int current = store.currentRecordNumber();
        store.goToRecord(n);
        PictureStore::NewRecord record{store.readField(PictureStore::NameField).toString(),
                                       store.readField(PictureStore::CategoryField).toString(),
                                       store.readField(PictureStore::PictureField).toByteArray()};
        store.goToRecord(current);
        return record;
    }

    bool unchanged(int n) { return stored(n).picture == original[std::size_t(n - 1)].picture; }

    CheckBoxList &list() { return *window->选择列表框1; }
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
    click(window->按钮添加);

    ASSERT_EQ(responder().fileRequests().size(), 1u);
    const FileDialogRequest &dialog = responder().fileRequests().front();
    EXPECT_EQ(dialog.kind, FileDialogKind::Open);
    EXPECT_EQ(dialog.title, u"请选择要导入的图片"_s);
    EXPECT_EQ(dialog.initialName, QString());
    EXPECT_EQ(dialog.filter, u"图片文件[*.bmp;*.bmp;*.jpg;*.gif]|*.bmp;*.jpg;*.gif;*.ico|所有文件[*.*]|*.*"_s);

    ASSERT_EQ(window->store().recordCount(), 5);
    EXPECT_EQ(stored(5).name, u"0001"_s);
    EXPECT_EQ(stored(5).category, u"jpg"_s);
    EXPECT_EQ(stored(5).picture, jpeg);
    EXPECT_EQ(list().selectedIndex(), 4);
    EXPECT_EQ(window->store().currentRecordNumber(), 5);
    EXPECT_EQ(window->标签3->picture(), jpeg);
    EXPECT_TRUE(responder().messages().empty());

    click(window->按钮添加);
    EXPECT_EQ(window->store().recordCount(), 5) << "a cancelled dialog adds nothing";
}

TEST_F(Operations, FileNamesSplitAtEveryDotAndAFileWithoutOneHasNoCategory)
{
    open({});
    const std::vector<std::tuple<QString, QString, QString>> cases = {
        {u"x.jpeg.bak"_s, u"x"_s, u"jpeg"_s}, {u"a.b.jpg"_s, u"a"_s, u"b"_s},
        {u"trailing."_s, u"trailing"_s, {}},  {u"scan"_s, u"scan"_s, {}}};
    for (const auto &[fileName, name, category] : cases) {
        responder().queueFileAnswer(pick(fileName, pictureFile({8, 8}, Qt::red)));
        click(window->按钮添加);
        const int last = window->store().recordCount();
        EXPECT_EQ(stored(last).name, name) << fileName.toStdString();
        EXPECT_EQ(stored(last).category, category) << fileName.toStdString();
    }

    // "scan" is shown: replace and export offer every file, and export
    // writes the chosen name without a trailing dot.
    const QString target = QDir(files.path()).filePath(u"out"_s);
    responder().queueFileAnswer(target);
    click(window->按钮导出);
    click(window->按钮更新);
    EXPECT_EQ(responder().fileRequests().at(4).filter, u"所有文件[*.*]|*.*"_s);
    EXPECT_EQ(responder().fileRequests().at(5).filter, u"所有文件[*.*]|*.*"_s);
    EXPECT_EQ(readFile(target), stored(4).picture);
}

TEST_F(Operations, ReplaceChangesOnlyThePictureAndKeepsTheRow)
{
    auto records = pictures(3);
    records[1] = {u"动图"_s, u"gif"_s, pictureFile({10, 10}, Qt::red, "GIF")};
    open(records);
    click(window->按钮更新);
    EXPECT_TRUE(responder().fileRequests().empty()) << "no row selected, no dialog";

    clickRow(list(), 1);
    const QByteArray replacement = pictureFile({12, 12}, Qt::cyan);
    responder().queueFileAnswer(pick(u"new.png"_s, replacement));
    click(window->按钮更新);

    ASSERT_EQ(responder().fileRequests().size(), 1u);
    const FileDialogRequest &dialog = responder().fileRequests().front();
    EXPECT_EQ(dialog.kind, FileDialogKind::Open);
    EXPECT_EQ(dialog.title, u"请选择新的图片"_s);
    EXPECT_EQ(dialog.filter, u"GIF图片(*.gif)|*.gif"_s);
    EXPECT_EQ(stored(2).picture, replacement);
    EXPECT_EQ(stored(2).name, u"动图"_s);
    EXPECT_EQ(stored(2).category, u"gif"_s);
    EXPECT_EQ(list().selectedIndex(), 1);
    EXPECT_EQ(window->标签3->picture(), replacement);
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

    for (const QString &path : unusable) {
        for (QPushButton *button : {window->按钮添加, window->按钮更新}) {
            responder().queueFileAnswer(path);
            click(button);
            const MessageRequest &message = responder().messages().back();
            EXPECT_EQ(message.flags, 0x10u);
            EXPECT_EQ(message.title, u"错误"_s);
            EXPECT_TRUE(message.text.contains(QDir::toNativeSeparators(path))) << message.text.toStdString();
        }
    }
    EXPECT_EQ(responder().messages().size(), 2 * unusable.size());
    EXPECT_EQ(window->store().recordCount(), 3);
    EXPECT_TRUE(unchanged(1) && unchanged(2) && unchanged(3));
    EXPECT_EQ(window->标签3->picture(), original[2].picture);
}

TEST_F(Operations, RenameStoresTheNameWithoutSpaces)
{
    open(pictures(3));
    clickRow(list(), 1);
    window->编辑框1->clear();
    QTest::keyClicks(window->编辑框1, u" a b "_s);
    click(window->按钮改名);
    EXPECT_EQ(stored(2).name, u"ab"_s);
    EXPECT_EQ(list().rowText(1), u"ab"_s);
    EXPECT_EQ(list().selectedIndex(), 1);
    EXPECT_EQ(window->编辑框1->text(), u"ab"_s);

    for (const QString &blank : {u"   "_s, u"\u3000"_s}) {
        window->编辑框1->setText(blank);
        click(window->按钮改名);
        EXPECT_EQ(stored(2).name, u"ab"_s) << "a name of spaces changes nothing";
    }
}

TEST_F(Operations, DeleteAsksFirstThenShowsThePictureThatFollowed)
{
    open(pictures(5));
    clickRow(list(), 1);
    responder().queueMessageAnswer(IDCANCEL);
    click(window->按钮删除);
    ASSERT_EQ(responder().messages().size(), 1u);
    EXPECT_EQ(responder().messages()[0].text, u"删除图片将不可恢复。\r\n\r\n继续吗？"_s);
    EXPECT_EQ(responder().messages()[0].title, u"真的删除吗？"_s);
    EXPECT_EQ(responder().messages()[0].flags, 0x21u);
    EXPECT_EQ(window->store().recordCount(), 5) << "Cancel deletes nothing";

    responder().queueMessageAnswer(IDOK);
    click(window->按钮删除);
    ASSERT_EQ(window->store().recordCount(), 4);
    EXPECT_EQ(list().selectedIndex(), 1);
    EXPECT_EQ(window->编辑框1->text(), original[2].name);
    EXPECT_EQ(window->标签3->picture(), original[2].picture);
    EXPECT_EQ(stored(2).picture, original[2].picture) << "the former record 3 is now record 2";
}

TEST_F(Operations, DeletingTheLastRowSelectsTheNewLastRowUntilTheLibraryIsEmpty)
{
    open(pictures(2));
    clickRow(list(), 1);
    click(window->按钮删除);
    ASSERT_EQ(window->store().recordCount(), 1);
    EXPECT_EQ(list().selectedIndex(), 0);
    EXPECT_EQ(window->标签3->picture(), original[0].picture);
    EXPECT_TRUE(unchanged(1));

    click(window->按钮删除);
    EXPECT_EQ(window->store().recordCount(), 0);
    EXPECT_EQ(list().selectedIndex(), -1);
    EXPECT_FALSE(window->标签6->isHidden()) << "back in the welcome state";
    EXPECT_FALSE(window->标签3->isEnabled());
    EXPECT_TRUE(window->标签3->picture().isEmpty());
    EXPECT_TRUE(window->编辑框1->text().isEmpty());
    click(window->按钮删除);
    EXPECT_EQ(responder().messages().size(), 2u) << "nothing selected, nothing asked";
}

TEST_F(Operations, ExportWritesExactlyTheStoredBytesUnderNameDotCategory)
{
    auto records = pictures(1);
    records[0] = {u"0001"_s, u"jpg"_s, pictureFile({50, 40}, Qt::magenta, "JPG")};
    open(records);
    click(window->按钮导出);
    EXPECT_TRUE(responder().fileRequests().empty()) << "no row selected, no dialog";

    clickRow(list(), 0);
    window->编辑框1->setText(u" 0001 "_s);
    const QDir out(files.path());
    responder().queueFileAnswer(out.filePath(u"0001"_s));
    responder().queueFileAnswer(out.filePath(u"a.jpg"_s));
    click(window->按钮导出);
    click(window->按钮导出);

    const FileDialogRequest &dialog = responder().fileRequests().front();
    EXPECT_EQ(dialog.kind, FileDialogKind::Save);
    EXPECT_EQ(dialog.title, u"请选择保存位置"_s);
    EXPECT_EQ(dialog.initialName, u" 0001 "_s) << "the name box as typed";
    EXPECT_EQ(dialog.filter, u"JPG图片(*.jpg)|*.jpg"_s);
    EXPECT_EQ(readFile(out.filePath(u"0001.jpg"_s)), records[0].picture);
    EXPECT_EQ(readFile(out.filePath(u"a.jpg.jpg"_s)), records[0].picture);
    EXPECT_TRUE(responder().messages().empty()) << "a successful export is silent";

    window->编辑框1->setText(u"  "_s);
    click(window->按钮导出);
    EXPECT_EQ(responder().fileRequests().size(), 2u) << "a blank name exports nothing";
}

TEST_F(Operations, FailedExportLeavesNoPartialFileAndIsReported)
{
    auto records = pictures(1);
    records[0].picture = pictureFile({300, 300}, Qt::darkYellow, "BMP");
    open(records);
    clickRow(list(), 0);
    const QDir out(files.path());
    const QByteArray oldContent("the file that was there before");
    writeFile(out.filePath(u"keep.png"_s), oldContent);
    out.mkdir(u"folder.png"_s);

    responder().queueFileAnswer(out.filePath(u"no such folder/0001"_s));
    responder().queueFileAnswer(out.filePath(u"folder"_s));
    click(window->按钮导出);
    click(window->按钮导出);
    {
        // Writes beyond 1 KB fail from here on, as on a full disk.
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit diskFull{1024, previous.rlim_max};
        setrlimit(RLIMIT_FSIZE, &diskFull);
        responder().queueFileAnswer(out.filePath(u"keep"_s));
        click(window->按钮导出);
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
    }

    ASSERT_EQ(responder().messages().size(), 3u);
    for (const MessageRequest &message : responder().messages()) {
        EXPECT_EQ(message.flags, 0x10u);
        EXPECT_EQ(message.title, u"错误"_s);
        EXPECT_TRUE(message.text.startsWith(u"图片无法导出到"_s)) << message.text.toStdString();
    }
    EXPECT_EQ(readFile(out.filePath(u"keep.png"_s)), oldContent) << "the old file stays whole";
    EXPECT_EQ(out.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({u"folder.png"_s, u"keep.png"_s}))
        << "no partial or temporary file is left";
}
