#include "MainWindow.h"

#include "BalloonTip.h"
#include "CharacterLimit.h"
#include "CheckBoxList.h"
#include "DesignFonts.h"
#include "DesignPlacement.h"
#include "InfoPanels.h"
#include "LibraryRecovery.h"
#include "MessageBox.h"
#include "PasswordWindow.h"
#include "PictureLabel.h"
#include "PictureOperations.h"
#include "PopupMenu.h"
#include "ProgramDirectory.h"
#include "ProgramExit.h"
#include "ProgramInfo.h"
#include "Screen.h"
#include "TitleStrip.h"
#include "UserInfoBackup.h"
#include "ViewerWindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

const QString FooterLine = ProgramInfo::Studio + u"  "_s + ProgramInfo::ContactAddress;
const QString StoreFileName = u"pic.edb"_s;
// Characters a name may have when typed.
constexpr int NameLimit = 20;

}

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_background(u":/art/main-background.png"_s)
{
    createUnits();
    styleUnits();
    createMenu();
    createOperations();
    connectEvents();
    openPictureStore();
    refreshPictureList();
    选择列表框1->setFocus();
    attachPreviewHint();
}

MainWindow::~MainWindow() = default;

void MainWindow::createUnits()
{
    setObjectName(u"MainWindow"_s);
    setWindowTitle(ProgramInfo::Title);
    setFixedSize(DesignWidth, DesignHeight);
    move(50, 50);

    标签1 = placeControl(new QLabel(this), u"标签1"_s, 250, 127, 70, 20);
    标签2 = placeControl(new QLabel(this), u"标签2"_s, 180, 130, 60, 20);
    标签3 = placeControl(new PictureLabel(this), u"标签3"_s, 6, 26, 378, 389);
    标签3->setEnabled(false);
    标签6 = placeControl(new QLabel(this), u"标签6"_s, 54, 103, 300, 190);
    标签6->setPixmap(QPixmap(u":/art/welcome.png"_s));
    标签6->setAlignment(Qt::AlignCenter);
    标签7 = placeControl(new QLabel(u"Vostrand 2008.3"_s, this), u"标签7"_s, 54, 325, 300, 24);
    标签7->setAlignment(Qt::AlignCenter);

    标签5 = placeControl(new QLabel(this), u"标签5"_s, 384, 26, 161, 270);
    选择列表框1 = placeControl(new CheckBoxList(this), u"选择列表框1"_s, 416, 31, 100, 260);

    标签4 = placeControl(new QLabel(this), u"标签4"_s, 384, 295, 161, 120);
    标签999 = placeControl(new QLabel(u"编号"_s, this), u"标签999"_s, 395, 310, 27, 22);
    编辑框1 = placeControl(new QLineEdit(this), u"编辑框1"_s, 422, 310, 78, 22);
    new CharacterLimit(NameLimit, 编辑框1);
    按钮添加 = placeControl(new QPushButton(u"添加"_s, this), u"按钮添加"_s, 499, 310, 33, 22);
    按钮更新 = placeControl(new QPushButton(u"更换图片"_s, this), u"按钮更新"_s, 397, 343, 66, 24);
    按钮改名 = placeControl(new QPushButton(u"图片改名"_s, this), u"按钮改名"_s, 466, 343, 66, 24);
    按钮导出 = placeControl(new QPushButton(u"导出图片"_s, this), u"按钮导出"_s, 397, 378, 66, 24);
    按钮删除 = placeControl(new QPushButton(u"删除图片"_s, this), u"按钮删除"_s, 466, 378, 66, 24);

    透明标签3 = placeControl(new QLabel(ProgramInfo::Title, this), u"透明标签3"_s, 8, 0, 472, 24);
    透明标签2 = placeControl(new QLabel(this), u"透明标签2"_s, 488, 0, 24, 24);
    透明标签1 = placeControl(new QLabel(this), u"透明标签1"_s, 528, 0, 24, 24);
    透明标签4 = placeControl(new QLabel(FooterLine, this), u"透明标签4"_s, 0, 420, 550, 30);

    new TitleStrip(this, 透明标签3, 透明标签2, 透明标签1);
    气球提示框1 = new BalloonTip(this);
    气球提示框1->setObjectName(u"气球提示框1"_s);
}

void MainWindow::styleUnits()
{
    for (QPushButton *button : {按钮添加, 按钮更新, 按钮改名, 按钮导出, 按钮删除})
        button->setFont(simSunFont());
    标签6->setFont(liSuFont(16));
    标签7->setFont(liSuFont(16));
    标签999->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    透明标签3->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    透明标签4->setAlignment(Qt::AlignCenter);
    // Only this window's own units: the dialogs it opens use the same
    // design names for units of their own.
    setStyleSheet(u"#MainWindow > #透明标签3 { color: #f2f4f7; font-weight: bold; }"
                  "#MainWindow > #透明标签4 { color: #aab2bd; }"
                  "#MainWindow > #标签7 { color: #4a5563; }"
                  "#MainWindow > #标签3 { background: white; }"
                  "#MainWindow > #标签5, #MainWindow > #标签4"
                  " { background: #f4f6f8; border: 1px solid #d5dae0; border-radius: 3px; }"
                  "#MainWindow > #选择列表框1 { background: white; border: 1px solid #c9cfd6; }"_s);
    透明标签1->setCursor(Qt::PointingHandCursor);
    透明标签2->setCursor(Qt::PointingHandCursor);
}

void MainWindow::createMenu()
{
    菜单 = new QMenu(this);
    菜单->setObjectName(u"菜单"_s);
    菜单->addAction(u"修改口令"_s, this, [] {
        // A window of its own: it takes no looks from this one.
        PasswordWindow window;
        window.exec();
    });
    菜单->addSeparator();
    菜单->addAction(u"备份用户信息"_s, this, [this] { backupUserInfo(m_store); });
    菜单->addAction(u"还原用户信息"_s, this, &restoreUserInfo);
    菜单->addSeparator();
    菜单->addAction(u"帮助"_s, this, [this] { 气球提示框1->showPanel(helpPanelHtml(), mousePosition()); });
    菜单->addAction(u"关于"_s, this, [this] { 气球提示框1->showPanel(aboutPanelHtml(), mousePosition()); });
    菜单->addSeparator();
    菜单->addAction(u"退出"_s, this, &exitProgram);
}

void MainWindow::createOperations()
{
    m_operations = new PictureOperations(*this, m_store);
}

void MainWindow::connectEvents()
{
    connect(选择列表框1, &CheckBoxList::userSelectionChanged, this, &MainWindow::showSelectedPicture);
    connect(按钮添加, &QPushButton::clicked, m_operations, &PictureOperations::add);
    connect(按钮更新, &QPushButton::clicked, m_operations, &PictureOperations::replace);
    connect(按钮改名, &QPushButton::clicked, m_operations, &PictureOperations::rename);
    connect(按钮删除, &QPushButton::clicked, m_operations, &PictureOperations::deletePicture);
    connect(按钮导出, &QPushButton::clicked, m_operations, &PictureOperations::exportPicture);
    // The preview hears double-clicks only once it is enabled, after the
    // first selection; the list hears them at any time.
    connect(选择列表框1, &CheckBoxList::listDoubleClicked, this, &MainWindow::openViewer);
    connect(标签3, &PictureLabel::doubleClicked, this, &MainWindow::openViewer);
}

void MainWindow::openPictureStore()
{
    const QString path = QDir(programDirectory()).filePath(StoreFileName);
    auto opened = m_store.open(path);
    if (opened)
        return;
    switch (offerLibraryFromBak(path, opened.error())) {
    case Recovery::Restored:
        opened = m_store.open(path);
        if (opened)
            return;
        break;
    case Recovery::Declined:
    case Recovery::Failed:
        return;
    case Recovery::NoCopy:
        break;
    }
    messageBox(u"图片库无法打开：%1。\r\n\r\n这两个文件未作任何改动，图片列表将保持为空。"_s.arg(opened.error()),
               MessageBoxFlags::IconStop, u"错误"_s);
}

void MainWindow::attachPreviewHint()
{
    气球提示框1->attachHint(标签3, u"双击全屏浏览"_s);
}

void MainWindow::refreshPictureList()
{
    选择列表框1->clear();
    std::vector<CheckBoxList::Row> rows;
    rows.reserve(std::size_t(m_store.count()));
    for (int record = 1; record <= m_store.count(); ++record)
        rows.push_back({m_store.name(record), record});
    选择列表框1->addRows(std::move(rows));
}

void MainWindow::showSelectedPicture()
{
    标签6->hide();
    标签7->hide();
    标签3->setEnabled(true);
    const int record = 选择列表框1->rowValue(选择列表框1->selectedIndex());
    标签1->setText(QString::number(record));
    if (!m_store.isRecord(record)) {
        showEmptyDetails();
        return;
    }
    m_currentRecord = record;
    m_currentCategory = m_store.category(record);
    编辑框1->setText(m_store.name(record));
    标签2->setText(m_currentCategory);
    const std::expected<QByteArray, QString> picture = m_store.picture(record);
    if (picture)
        标签3->setPicture(*picture);
    else
        标签3->showNote(u"图片无法读取：%1"_s.arg(picture.error()));
}

void MainWindow::showRecordAfterChange(int record)
{
    refreshPictureList();
    if (m_store.count() == 0) {
        m_currentRecord = 0;
        m_currentCategory.clear();
        showWelcomeState();
        return;
    }
    选择列表框1->setSelectedIndex(std::min(record, m_store.count()) - 1);
    showSelectedPicture();
}

int MainWindow::selectedRecord() const
{
    return 选择列表框1->selectedIndex() >= 0 ? m_currentRecord : 0;
}

QString MainWindow::currentCategory() const
{
    return m_currentCategory;
}

QString MainWindow::typedName() const
{
    return 编辑框1->text();
}

void MainWindow::showEmptyDetails()
{
    编辑框1->clear();
    标签2->clear();
    标签3->clearPicture();
}

void MainWindow::showWelcomeState()
{
    选择列表框1->setSelectedIndex(-1);
    标签1->clear();
    showEmptyDetails();
    标签3->setEnabled(false);
    标签6->show();
    标签7->show();
}

void MainWindow::openViewer()
{
    ViewerWindow viewer(*this);
    viewer.exec();
}

int MainWindow::pictureCount() const
{
    return m_store.count();
}

int MainWindow::rowCount() const
{
    return 选择列表框1->rowCount();
}

int MainWindow::selectedRow() const
{
    return 选择列表框1->selectedIndex();
}

QString MainWindow::rowName(int row) const
{
    return 选择列表框1->rowText(row);
}

void MainWindow::showRow(int row)
{
    选择列表框1->setSelectedIndex(row);
    showSelectedPicture();
}

std::expected<QByteArray, QString> MainWindow::currentPicture() const
{
    return m_store.picture(m_currentRecord);
}

PictureStore &MainWindow::store()
{
    return m_store;
}

void MainWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        popupMenu(*菜单, mousePosition());
        return;
    }
    QWidget::mousePressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_store.close();
    event->accept();
}
