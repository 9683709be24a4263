#include "OperationsFixture.h"
#include "TestPictures.h"
#include "TestProgram.h"
#include "WidgetDriving.h"
#include "WindowControls.h"
#include "mainwindow/MainWindow.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Qt::StringLiterals;

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
