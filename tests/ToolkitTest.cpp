#include "ScriptedResponder.h"
#include "TestFiles.h"
#include "toolkit/BalloonTip.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MessageBox.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/ProgramDirectory.h"
#include "toolkit/QtChineseTexts.h"
#include "toolkit/Screen.h"
#include "toolkit/WindowFonts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFontInfo>
#include <QListView>
#include <QTemporaryDir>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using ::testing::ElementsAre;

namespace {

// Runs check on the message box once it is up, then presses the button with
// this caption (or Enter, when the caption is empty).
void answerRealMessageBox(const QString &caption, std::function<void(QMessageBox &)> check)
{
    QTimer::singleShot(0, [caption, check] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        check(*box);
        if (caption.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Return);
            return;
        }
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == caption)
                button->click();
        }
    });
}

}

TEST(MessageBoxTest, RealBoxShowsIconTitleAndButtonsAndReturnsTheButtonPressed)
{
    QTranslator qtTexts;
    ASSERT_TRUE(installQtChineseTexts(qtTexts));
    answerRealMessageBox(u"取消"_s, [](QMessageBox &box) {
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(box.windowTitle(), u"真的删除吗？"_s);
        EXPECT_EQ(box.text(), u"继续吗？"_s);
        EXPECT_EQ(box.buttons().size(), 2);
        EXPECT_EQ(box.defaultButton()->text(), u"确定"_s);
    });
    EXPECT_EQ(messageBox(u"继续吗？"_s, MessageKind::OkCancelQuestion, u"真的删除吗？"_s), QMessageBox::Cancel);

    answerRealMessageBox({}, [](QMessageBox &box) {
        EXPECT_EQ(box.icon(), QMessageBox::Information);
        EXPECT_EQ(box.defaultButton()->text(), u"否(&N)"_s);
    });
    EXPECT_EQ(messageBox(u"还原吗？"_s, MessageKind::YesNoInformation, u"提示"_s), QMessageBox::No);

    answerRealMessageBox({}, [](QMessageBox &box) {
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        EXPECT_EQ(box.windowTitle(), QApplication::applicationName()) << "no title of its own: the program's name";
    });
    EXPECT_EQ(messageBox(u"创建配置文件路径失败。"_s, MessageKind::Stop), QMessageBox::Ok);
}

// Qt's own buttons, captioned by Qt's Chinese translation as the program
// installs it; Escape gives the answer of the button that stands for it.
TEST(MessageBoxTest, EveryKindShowsQtsButtonsInChineseAndEscapeAnswersAsItShould)
{
    QTranslator qtTexts;
    ASSERT_TRUE(installQtChineseTexts(qtTexts));
    struct Expected
    {
        MessageKind kind;
        QMessageBox::Icon icon;
        QStringList captions;
        QString defaultCaption;
        QMessageBox::StandardButton escape;
    };
    const QStringList ok{u"确定"_s};
    const QStringList yesNo{u"否(&N)"_s, u"是(&Y)"_s};
    for (const Expected &expected : {
             Expected{MessageKind::Stop, QMessageBox::Critical, ok, u"确定"_s, QMessageBox::Ok},
             Expected{MessageKind::Warning, QMessageBox::Warning, ok, u"确定"_s, QMessageBox::Ok},
             Expected{MessageKind::Information, QMessageBox::Information, ok, u"确定"_s, QMessageBox::Ok},
             Expected{MessageKind::OkCancelQuestion, QMessageBox::Question, {u"取消"_s, u"确定"_s}, u"确定"_s, QMessageBox::Cancel},
             Expected{MessageKind::YesNoInformation, QMessageBox::Information, yesNo, u"否(&N)"_s, QMessageBox::No},
             Expected{MessageKind::YesNoWarning, QMessageBox::Warning, yesNo, u"否(&N)"_s, QMessageBox::No},
         }) {
        QTimer::singleShot(0, [&expected] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->icon(), expected.icon);
            QStringList captions;
            for (const QAbstractButton *button : box->buttons())
                captions.append(button->text());
            captions.sort();
            EXPECT_EQ(captions, expected.captions);
            EXPECT_EQ(box->defaultButton()->text(), expected.defaultCaption);
            QTest::keyClick(box, Qt::Key_Escape);
        });
        EXPECT_EQ(messageBox(u"文字"_s, expected.kind), expected.escape) << int(expected.kind);
    }
}

TEST(ScriptedResponderTest, AnswersFromItsScriptAndRecordsEveryRequest)
{
    ScriptedResponder responder;
    responder.queueMessageAnswer(QMessageBox::Cancel);
    EXPECT_EQ(messageBox(u"a"_s, MessageKind::OkCancelQuestion, u"t"_s), QMessageBox::Cancel);
    EXPECT_EQ(messageBox(u"b"_s, MessageKind::YesNoInformation), QMessageBox::No) << "unscripted boxes take their default button";
    ASSERT_EQ(responder.messages().size(), 2u);
    EXPECT_EQ(responder.messages()[0].text, u"a"_s);
    EXPECT_EQ(responder.messages()[0].kind, MessageKind::OkCancelQuestion);
    EXPECT_EQ(responder.messages()[0].title, u"t"_s);

    responder.queueFileAnswer(u"/tmp/x.jpg"_s);
    const FileDialogRequest request{.kind = FileDialogKind::Save,
                                    .title = u"请选择保存位置"_s,
                                    .initialName = u"0001"_s,
                                    .filter = u"JPG图片(*.jpg)|*.jpg"_s};
    EXPECT_EQ(showFileDialog(request), u"/tmp/x.jpg"_s);
    EXPECT_EQ(showFileDialog(request), std::nullopt) << "unscripted dialogs are cancelled";
    ASSERT_EQ(responder.fileRequests().size(), 2u);
    EXPECT_EQ(responder.fileRequests()[0].initialName, u"0001"_s);

    responder.setScreenSize({1365, 768});
    EXPECT_EQ(screenWidth(), 1365);
    EXPECT_EQ(screenHeight(), 768);
}

TEST(FileDialogTest, FilterListShowsTheLabelsAsWrittenAndListsByThePatterns)
{
    QTemporaryDir folder;
    for (const QString &name : {u"a.jpg"_s, u"b.照片"_s, u"scan"_s, u"c.gif"_s, u"d.usb"_s})
        writeFile(QDir(folder.path()).filePath(name), "x");
    using Entry = std::pair<QString, QStringList>;
    // Each label of a real dialog's filter list, with the files listed once
    // the user has picked it.
    const auto entries = [&](const QString &filter) {
        QFileDialog dialog;
        configureFileDialog(dialog, {.kind = FileDialogKind::Open, .filter = filter, .folder = folder.path()});
        auto *labels = dialog.findChild<QComboBox *>(u"fileTypeCombo"_s);
        auto *view = dialog.findChild<QListView *>(u"listView"_s);
        std::vector<Entry> shown;
        for (int entry = 0; entry < labels->count(); ++entry) {
            if (entry > 0)
                QTest::keyClick(labels, Qt::Key_Down);
            QStringList names;
            for (int attempt = 0; attempt < 100 && names.isEmpty(); ++attempt) {
                QTest::qWait(10);
                const QModelIndex root = view->rootIndex();
                for (int row = 0; row < view->model()->rowCount(root); ++row)
                    names.append(view->model()->index(row, 0, root).data().toString());
            }
            names.sort();
            shown.emplace_back(labels->currentText(), names);
        }
        return shown;
    };
    const QStringList everything{u"a.jpg"_s, u"b.照片"_s, u"c.gif"_s, u"d.usb"_s, u"scan"_s};

    EXPECT_THAT(entries(u"图片文件[*.bmp;*.bmp;*.jpg;*.gif]|*.bmp;*.jpg;*.gif;*.ico|所有文件[*.*]|*.*"_s),
                ElementsAre(Entry{u"图片文件[*.bmp;*.bmp;*.jpg;*.gif]"_s, {u"a.jpg"_s, u"c.gif"_s}},
                            Entry{u"所有文件[*.*]"_s, everything}));
    EXPECT_THAT(entries(u"用户信息备份文件(*.usb)|*.usb|所有文件(*.*)|*.*"_s),
                ElementsAre(Entry{u"用户信息备份文件(*.usb)"_s, {u"d.usb"_s}}, Entry{u"所有文件(*.*)"_s, everything}));
    EXPECT_THAT(entries(u"JPG图片(*.jpg)|*.jpg"_s), ElementsAre(Entry{u"JPG图片(*.jpg)"_s, {u"a.jpg"_s}}));
    EXPECT_THAT(entries(u"照片图片(*.照片)|*.照片"_s), ElementsAre(Entry{u"照片图片(*.照片)"_s, {u"b.照片"_s}}));
    EXPECT_THAT(entries(u"只有描述"_s), ElementsAre()) << "a label without its pattern is dropped";
}

TEST(PopupMenuTest, RunsTheChosenItemAndSkipsSeparators)
{
    ScriptedResponder responder;
    QMenu menu;
    QString chosen;
    menu.addAction(u"修改口令"_s, [&] { chosen = u"修改口令"_s; });
    menu.addSeparator();
    menu.addAction(u"退出"_s, [&] { chosen = u"退出"_s; });

    responder.queueMenuChoice(u"退出"_s);
    popupMenu(menu, {10, 10});
    EXPECT_EQ(chosen, u"退出"_s);
    ASSERT_EQ(responder.menus().size(), 1u);
    EXPECT_THAT(responder.menus()[0], ElementsAre(u"修改口令"_s, u"退出"_s));

    chosen.clear();
    popupMenu(menu, {10, 10});
    EXPECT_TRUE(chosen.isEmpty()) << "a dismissed menu runs nothing";
}

TEST(BalloonTipTest, PanelShowsAtThePointAndClosesOnAClick)
{
    QWidget owner;
    BalloonTip tip(&owner);
    tip.showPanel(u"<b>关于</b>"_s, {120, 80});
    QLabel *panel = tip.panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->pos(), QPoint(120, 80));
    EXPECT_EQ(panel->text(), u"<b>关于</b>"_s);

    tip.showPanel(u"<b>关于</b>"_s, {300, 200});
    QApplication::processEvents();
    ASSERT_NE(tip.panel(), nullptr);
    EXPECT_EQ(tip.panel()->pos(), QPoint(300, 200)) << "a second panel replaces the first";

    QTest::mouseClick(tip.panel(), Qt::LeftButton);
    EXPECT_FALSE(tip.panel() && tip.panel()->isVisible());
}

// Without SimSun and LiSu the windows show Debian's Ming and Kai faces
// (fonts-arphic-uming, fonts-arphic-ukai), not the sans-serif fallback.
TEST(WindowFontsTest, SongAndClericalTextShowInFreeFacesOfTheirKind)
{
    EXPECT_EQ(QFontInfo(simSunFont()).family().toStdString(), "AR PL UMing CN");
    EXPECT_EQ(QFontInfo(liSuFont(16)).family().toStdString(), "AR PL UKai CN");

    QWidget owner;
    BalloonTip tip(&owner);
    tip.showPanel(u"帮助"_s, {0, 0});
    ASSERT_NE(tip.panel(), nullptr);
    EXPECT_EQ(QFontInfo(tip.panel()->font()).family().toStdString(), "AR PL UMing CN");
}

TEST(ProgramDirectoryTest, DataStaysBesideAProgramThatMayWriteThereElseGoesToTheUsersFolder)
{
    const QString user = u"/home/someone/.local/share/Lumbra"_s;
    EXPECT_EQ(chooseProgramDirectory(u"/home/someone/lumbra/build/app/"_s, true, user), u"/home/someone/lumbra/build/app"_s);
    EXPECT_EQ(chooseProgramDirectory(u"/home/someone/lumbra"_s, false, user), user);
    EXPECT_EQ(chooseProgramDirectory(u"/usr/bin"_s, true, user), user) << "root may write there; the data does not belong there";
    EXPECT_EQ(chooseProgramDirectory(u"/opt/lumbra/bin"_s, true, user), user);
}
