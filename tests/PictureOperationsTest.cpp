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

const QString AddFilter = u"图片文件[*.bmp;*.bmp;*.jpg;*.gif]|*.bmp;*.jpg;*.gif;*.ico|所有文件[*.*]|*.*"_s;

std::vector<PictureStore::NewRecord> pictures(int count)
{
    std::vector<PictureStore::NewRecord> records;
    for (int i = 1; i <= count; ++i)
        records.push_back({u"%1"_s.arg(i, 4, 10, QChar(u'0')), u"png"_s,
                           pictureFile({30, 20}, QColor::fromHsv(i * 40 % 360, 200, 200))});
    return records;
}

// A program with a library of these records, its main window open, and a
// folder for the files the user picks.
class Operations : public ::testing::Test
{
protected:
    void open(const std::vector<PictureStore::NewRecord> &records)
    {
        m_records = records;
        program.createLibrary(records);
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

    PictureStore &store() { return window->store(); }
    CheckBoxList &list() { return *window->选择列表框1; }
    ScriptedResponder &responder() { return program.responder(); }

    QString field(int record, const QString &name)
    {
        const int before = store().currentRecordNumber();
        store().goToRecord(record);
        const QString value = store().readField(name).toString();
        store().goToRecord(before);
        return value;
    }

    QByteArray pictureOf(int record)
    {
        const int before = store().currentRecordNumber();
        store().goToRecord(record);
        const QByteArray value = store().readField(PictureStore::PictureField).toByteArray();
        store().goToRecord(before);
        return value;
    }

    TestProgram program;
    QTemporaryDir files;
    std::optional<MainWindow> window;
    std::vector<PictureStore::NewRecord> m_records;
};

}

TEST_F(Operations, AddStoresTheChosenFileAsTheNewLastRecordAndShowsIt)
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
    EXPECT_EQ(dialog.filter, AddFilter);

    ASSERT_EQ(store().recordCount(), 5);
    EXPECT_EQ(field(5, PictureStore::NameField), u"0001"_s);
    EXPECT_EQ(field(5, PictureStore::CategoryField), u"jpg"_s);
    EXPECT_EQ(pictureOf(5), jpeg);
    EXPECT_EQ(list().rowCount(), 5);
    EXPECT_EQ(list().selectedIndex(), 4);
    EXPECT_EQ(window->标签1->text(), u"5"_s);
    EXPECT_EQ(store().currentRecordNumber(), 5);
    EXPECT_EQ(window->编辑框1->text(), u"0001"_s);
    EXPECT_EQ(window->标签3->picture(), jpeg);
    EXPECT_TRUE(window->标签6->isHidden()) << "the first picture ends the welcome state";
    EXPECT_TRUE(responder().messages().empty());

    click(window->按钮添加);
    EXPECT_EQ(store().recordCount(), 5) << "a cancelled dialog adds nothing";
    EXPECT_EQ(list().selectedIndex(), 4);
}

TEST_F(Operations, FileNamesSplitIntoNameAndCategoryAtEveryDot)
{
    open({});
    const QByteArray bytes = pictureFile({8, 8}, Qt::red);
    const std::vector<std::tuple<QString, QString, QString>> cases = {
        {u"x.jpeg.bak"_s, u"x"_s, u"jpeg"_s},
        {u"a.b.jpg"_s, u"a"_s, u"b"_s},
        {u"扫描.GIF"_s, u"扫描"_s, u"GIF"_s},
        {u"trailing."_s, u"trailing"_s, QString()},
        {u"noextension"_s, u"noextension"_s, QString()},
    };
    for (const auto &[fileName, name, category] : cases) {
        responder().queueFileAnswer(pick(fileName, bytes));
        click(window->按钮添加);
        const int record = store().recordCount();
        EXPECT_EQ(field(record, PictureStore::NameField), name) << fileName.toStdString();
        EXPECT_EQ(field(record, PictureStore::CategoryField), category) << fileName.toStdString();
    }
    EXPECT_EQ(store().recordCount(), int(cases.size()));
}

TEST_F(Operations, PictureWithoutCategoryOffersEveryFileAndExportsUnderTheChosenName)
{
    open({});
    const QByteArray bytes = pictureFile({8, 8}, Qt::blue);
    responder().queueFileAnswer(pick(u"scan"_s, bytes));
    click(window->按钮添加);
    ASSERT_EQ(window->编辑框1->text(), u"scan"_s);

    const QString target = QDir(files.path()).filePath(u"out"_s);
    responder().queueFileAnswer(target);
    click(window->按钮导出);
    click(window->按钮更新);
    ASSERT_EQ(responder().fileRequests().size(), 3u);
    EXPECT_EQ(responder().fileRequests()[1].filter, u"所有文件[*.*]|*.*"_s);
    EXPECT_EQ(responder().fileRequests()[2].filter, u"所有文件[*.*]|*.*"_s);
    EXPECT_EQ(readFile(target), bytes);
    EXPECT_FALSE(QFile::exists(target + u'.')) << "no trailing dot";
}

TEST_F(Operations, ReplaceChangesOnlyThePictureAndKeepsTheRow)
{
    auto records = pictures(4);
    records[1] = {u"动图"_s, u"gif"_s, pictureFile({10, 10}, Qt::red, "GIF")};
    open(records);
    click(window->按钮更新);
    EXPECT_TRUE(responder().fileRequests().empty()) << "no row selected, no dialog";

    clickRow(list(), 1);
    const QByteArray replacement = pictureFile({12, 12}, Qt::cyan, "PNG");
    responder().queueFileAnswer(pick(u"new.png"_s, replacement));
    click(window->按钮更新);

    ASSERT_EQ(responder().fileRequests().size(), 1u);
    const FileDialogRequest &dialog = responder().fileRequests().front();
    EXPECT_EQ(dialog.kind, FileDialogKind::Open);
    EXPECT_EQ(dialog.title, u"请选择新的图片"_s);
    EXPECT_EQ(dialog.initialName, QString());
    EXPECT_EQ(dialog.filter, u"GIF图片(*.gif)|*.gif"_s);

    EXPECT_EQ(store().recordCount(), 4);
    EXPECT_EQ(pictureOf(2), replacement);
    EXPECT_EQ(field(2, PictureStore::NameField), u"动图"_s);
    EXPECT_EQ(field(2, PictureStore::CategoryField), u"gif"_s);
    EXPECT_EQ(list().selectedIndex(), 1);
    EXPECT_EQ(window->标签3->picture(), replacement);
    for (int record : {1, 3, 4})
        EXPECT_EQ(pictureOf(record), m_records[std::size_t(record - 1)].picture);
}

TEST_F(Operations, UnusableFilesStoreNothingAndAreReported)
{
    open(pictures(3));
    clickRow(list(), 2);
    QTemporaryDir folder;
    std::vector<QString> unusable = {QDir(files.path()).filePath(u"missing.jpg"_s), folder.path(),
                                     pick(u"empty.jpg"_s, {})};
#ifdef Q_OS_LINUX
    // Opens, but every read fails, even for root.
    unusable.push_back(u"/proc/self/mem"_s);
#endif
    if (geteuid() != 0) {
        const QString locked = pick(u"locked.jpg"_s, pictureFile({4, 4}, Qt::red));
        QFile::setPermissions(locked, {});
        unusable.push_back(locked);
    }

    for (const QString &path : unusable) {
        for (QPushButton *button : {window->按钮添加, window->按钮更新}) {
            const std::size_t messagesBefore = responder().messages().size();
            responder().queueFileAnswer(path);
            click(button);
            ASSERT_EQ(responder().messages().size(), messagesBefore + 1) << path.toStdString();
            const MessageRequest &message = responder().messages().back();
            EXPECT_EQ(message.flags, 0x10u);
            EXPECT_EQ(message.title, u"错误"_s);
            EXPECT_TRUE(message.text.contains(QDir::toNativeSeparators(path))) << message.text.toStdString();
            EXPECT_TRUE(message.text.contains(u"图片库未作改动"_s));
        }
    }
    EXPECT_EQ(store().recordCount(), 3);
    for (int record = 1; record <= 3; ++record)
        EXPECT_EQ(pictureOf(record), m_records[std::size_t(record - 1)].picture);
    EXPECT_EQ(list().selectedIndex(), 2);
    EXPECT_EQ(window->标签3->picture(), m_records[2].picture) << "the preview keeps the stored picture";
}

TEST_F(Operations, RenameStoresTheNameWithoutSpaces)
{
    open(pictures(3));
    clickRow(list(), 1);
    window->编辑框1->clear();
    QTest::keyClicks(window->编辑框1, u" a b "_s);
    click(window->按钮改名);
    EXPECT_EQ(field(2, PictureStore::NameField), u"ab"_s);
    EXPECT_EQ(list().rowText(1), u"ab"_s);
    EXPECT_EQ(list().selectedIndex(), 1);
    EXPECT_EQ(window->编辑框1->text(), u"ab"_s);

    window->编辑框1->setText(u"新\u3000名"_s);
    click(window->按钮改名);
    EXPECT_EQ(field(2, PictureStore::NameField), u"新名"_s) << "ideographic spaces go too";

    for (const QString &blank : {u"   "_s, QString()}) {
        window->编辑框1->setText(blank);
        click(window->按钮改名);
        EXPECT_EQ(field(2, PictureStore::NameField), u"新名"_s);
        EXPECT_EQ(window->编辑框1->text(), blank) << "nothing happens, not even a refresh";
    }
    EXPECT_TRUE(responder().messages().empty());
}

TEST_F(Operations, DeleteAsksFirstAndThenShowsTheFollowingPicture)
{
    open(pictures(5));
    click(window->按钮删除);
    EXPECT_TRUE(responder().messages().empty()) << "no row selected, no question";

    clickRow(list(), 1);
    responder().queueMessageAnswer(IDCANCEL);
    click(window->按钮删除);
    ASSERT_EQ(responder().messages().size(), 1u);
    const MessageRequest &question = responder().messages().front();
    EXPECT_EQ(question.text, u"删除图片将不可恢复。\r\n\r\n继续吗？"_s);
    EXPECT_EQ(question.title, u"真的删除吗？"_s);
    EXPECT_EQ(question.flags, 0x21u);
    EXPECT_EQ(store().recordCount(), 5) << "Cancel deletes nothing";

    responder().queueMessageAnswer(IDOK);
    click(window->按钮删除);
    ASSERT_EQ(store().recordCount(), 4);
    EXPECT_EQ(list().rowCount(), 4);
    EXPECT_EQ(list().selectedIndex(), 1);
    EXPECT_EQ(window->标签1->text(), u"2"_s);
    EXPECT_EQ(window->编辑框1->text(), m_records[2].name);
    EXPECT_EQ(window->标签3->picture(), m_records[2].picture);
    EXPECT_EQ(pictureOf(2), m_records[2].picture) << "the former record 3 is now record 2";
    EXPECT_EQ(pictureOf(4), m_records[4].picture);
}

TEST_F(Operations, DeletingTheLastRowSelectsTheNewLastRowUntilTheLibraryIsEmpty)
{
    open(pictures(3));
    clickRow(list(), 2);
    for (int remaining = 2; remaining >= 1; --remaining) {
        click(window->按钮删除);
        ASSERT_EQ(store().recordCount(), remaining);
        EXPECT_EQ(list().selectedIndex(), remaining - 1);
        EXPECT_EQ(store().currentRecordNumber(), remaining);
        EXPECT_EQ(window->编辑框1->text(), m_records[std::size_t(remaining - 1)].name);
        EXPECT_EQ(window->标签3->picture(), m_records[std::size_t(remaining - 1)].picture);
        for (int record = 1; record <= remaining; ++record)
            EXPECT_EQ(pictureOf(record), m_records[std::size_t(record - 1)].picture);
    }

    click(window->按钮删除);
    EXPECT_EQ(store().recordCount(), 0);
    EXPECT_EQ(list().selectedIndex(), -1);
    EXPECT_FALSE(window->标签6->isHidden()) << "an empty library is back in the welcome state";
    EXPECT_FALSE(window->标签7->isHidden());
    EXPECT_FALSE(window->标签3->isEnabled());
    EXPECT_TRUE(window->标签3->picture().isEmpty());
    EXPECT_TRUE(window->编辑框1->text().isEmpty());

    const std::size_t questions = responder().messages().size();
    click(window->按钮删除);
    EXPECT_EQ(responder().messages().size(), questions) << "nothing to delete, no question";
}

TEST_F(Operations, ExportWritesExactlyTheStoredBytesUnderNameDotCategory)
{
    auto records = pictures(2);
    records[1] = {u"0001"_s, u"jpg"_s, pictureFile({50, 40}, Qt::magenta, "JPG")};
    open(records);
    click(window->按钮导出);
    EXPECT_TRUE(responder().fileRequests().empty()) << "no row selected, no dialog";

    clickRow(list(), 1);
    window->编辑框1->setText(u" 0001 "_s);
    const QDir out(files.path());
    responder().queueFileAnswer(out.filePath(u"0001"_s));
    responder().queueFileAnswer(out.filePath(u"a.jpg"_s));
    click(window->按钮导出);
    click(window->按钮导出);

    ASSERT_EQ(responder().fileRequests().size(), 2u);
    const FileDialogRequest &dialog = responder().fileRequests().front();
    EXPECT_EQ(dialog.kind, FileDialogKind::Save);
    EXPECT_EQ(dialog.title, u"请选择保存位置"_s);
    EXPECT_EQ(dialog.initialName, u" 0001 "_s) << "the name box as typed";
    EXPECT_EQ(dialog.filter, u"JPG图片(*.jpg)|*.jpg"_s);
    EXPECT_EQ(readFile(out.filePath(u"0001.jpg"_s)), records[1].picture);
    EXPECT_EQ(readFile(out.filePath(u"a.jpg.jpg"_s)), records[1].picture);
    EXPECT_FALSE(QFile::exists(out.filePath(u"a.jpg"_s)));
    EXPECT_TRUE(responder().messages().empty()) << "a successful export is silent";

    window->编辑框1->setText(u"  "_s);
    click(window->按钮导出);
    EXPECT_EQ(responder().fileRequests().size(), 2u) << "a blank name exports nothing";
}

namespace {

// Makes every write of this process beyond limit bytes fail, as a full
// disk would, for as long as it lives.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit lowered{limit, m_previous.rlim_max};
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

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
    QDir(files.path()).mkdir(u"folder.png"_s);

    responder().queueFileAnswer(out.filePath(u"no such folder/0001"_s));
    responder().queueFileAnswer(out.filePath(u"folder"_s));
    click(window->按钮导出);
    click(window->按钮导出);
    {
        const FileSizeLimit diskFull(1024);
        responder().queueFileAnswer(out.filePath(u"keep"_s));
        click(window->按钮导出);
    }

    ASSERT_EQ(responder().messages().size(), 3u);
    for (const MessageRequest &message : responder().messages()) {
        EXPECT_EQ(message.flags, 0x10u);
        EXPECT_EQ(message.title, u"错误"_s);
        EXPECT_TRUE(message.text.startsWith(u"图片无法导出到"_s)) << message.text.toStdString();
    }
    EXPECT_TRUE(responder().messages()[0].text.contains(u"目标文件夹不存在"_s));
    EXPECT_TRUE(responder().messages()[1].text.contains(u"已有同名的文件夹"_s));
    EXPECT_EQ(readFile(out.filePath(u"keep.png"_s)), oldContent) << "the old file stays whole";
    EXPECT_EQ(out.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList({u"folder.png"_s, u"keep.png"_s}))
        << "no partial or temporary file is left";
}
