#include "mainwindow/MainWindow.h"

#include "auth/PasswordWindow.h"
#include "config/DataFolder.h"
#include "mainwindow/InfoPanels.h"
#include "mainwindow/MainWindowLog.h"
#include "mainwindow/MainWindowTexts.h"
#include "mainwindow/PictureOperations.h"
#include "mainwindow/TitleStrip.h"
#include "maintenance/LibraryRecovery.h"
#include "maintenance/UserInfoBackup.h"
#include "store/PictureReader.h"
#include "toolkit/BalloonTip.h"
#include "toolkit/CharacterLimit.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/ControlPlacement.h"
#include "toolkit/MessageBox.h"
#include "toolkit/PictureLabel.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/ProgramDirectory.h"
#include "toolkit/ProgramExit.h"
#include "toolkit/Screen.h"
#include "toolkit/ToolkitTexts.h"
#include "toolkit/WindowFonts.h"
#include "viewer/ViewerWindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QMimeData>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

const QString FooterLine = MainWindowText::Studio + u"  "_s + MainWindowText::ContactAddress;
// Characters a name may have when typed.
constexpr int NameLimit = 20;

}

MainWindow::MainWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_background(u":/art/main-background.png"_s)
{
    createControls();
    styleControls();
    createMenu();
    createOperations();
    connectEvents();
    bindKeys();
    openPictureStore();
    refreshPictureList();
    m_pictureList->setFocus();
    attachPreviewHint();
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls()
{
    setObjectName(u"MainWindow"_s);
    setWindowTitle(MainWindowText::Title);
    setFixedSize(Width, Height);
    move(50, 50);

    m_recordNumberLabel = placeControl(new QLabel(this), u"标签1"_s, 250, 127, 70, 20);
    m_categoryLabel = placeControl(new QLabel(this), u"标签2"_s, 180, 130, 60, 20);
    m_preview = placeControl(new PictureLabel(this), u"标签3"_s, 6, 26, 378, 389);
    m_preview->setEnabled(false);
    m_welcomePicture = placeControl(new QLabel(this), u"标签6"_s, 54, 103, 300, 190);
    m_welcomePicture->setPixmap(QPixmap(u":/art/welcome.png"_s));
    m_welcomePicture->setAlignment(Qt::AlignCenter);
    m_welcomeLine = placeControl(new QLabel(MainWindowText::WelcomeLine, this), u"标签7"_s, 54, 325, 300, 24);
    m_welcomeLine->setAlignment(Qt::AlignCenter);

    m_listFrame = placeControl(new QLabel(this), u"标签5"_s, 384, 26, 161, 270);
    m_pictureList = placeControl(new CheckBoxList(this), u"选择列表框1"_s, 416, 31, 100, 260);

    m_buttonFrame = placeControl(new QLabel(this), u"标签4"_s, 384, 295, 161, 120);
    m_nameCaption = placeControl(new QLabel(MainWindowText::NameCaption, this), u"标签999"_s, 395, 310, 27, 22);
    m_nameBox = placeControl(new QLineEdit(this), u"编辑框1"_s, 422, 310, 78, 22);
    new CharacterLimit(NameLimit, m_nameBox);
    m_addButton = placeControl(new QPushButton(MainWindowText::Add, this), u"按钮添加"_s, 499, 310, 33, 22);
    m_replaceButton = placeControl(new QPushButton(MainWindowText::Replace, this), u"按钮更新"_s, 397, 343, 66, 24);
    m_renameButton = placeControl(new QPushButton(MainWindowText::Rename, this), u"按钮改名"_s, 466, 343, 66, 24);
    m_exportButton = placeControl(new QPushButton(MainWindowText::Export, this), u"按钮导出"_s, 397, 378, 66, 24);
    m_deleteButton = placeControl(new QPushButton(MainWindowText::Delete, this), u"按钮删除"_s, 466, 378, 66, 24);

    m_titleLabel = placeControl(new QLabel(MainWindowText::Title, this), u"透明标签3"_s, 8, 0, 472, 24);
    m_minimiseMark = placeControl(new QLabel(this), u"透明标签2"_s, 488, 0, 24, 24);
    m_closeMark = placeControl(new QLabel(this), u"透明标签1"_s, 528, 0, 24, 24);
    m_footerLine = placeControl(new QLabel(FooterLine, this), u"透明标签4"_s, 0, 420, 550, 30);

    new TitleStrip(this, m_titleLabel, m_minimiseMark, m_closeMark);
    m_balloonTip = new BalloonTip(this);
    m_balloonTip->setObjectName(u"气球提示框1"_s);
}

void MainWindow::styleControls()
{
    for (QPushButton *button : {m_addButton, m_replaceButton, m_renameButton, m_exportButton, m_deleteButton})
        button->setFont(simSunFont());
    m_welcomePicture->setFont(liSuFont(16));
    m_welcomeLine->setFont(liSuFont(16));
    m_nameCaption->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    m_titleLabel->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    m_footerLine->setAlignment(Qt::AlignCenter);
    // Only this window's own controls: the dialogs it opens use the same
    // object names for controls of their own.
    setStyleSheet(u"#MainWindow > #透明标签3 { color: #f2f4f7; font-weight: bold; }"
                  "#MainWindow > #透明标签4 { color: #aab2bd; }"
                  "#MainWindow > #标签7 { color: #4a5563; }"
                  "#MainWindow > #标签3 { background: white; }"
                  "#MainWindow > #标签5, #MainWindow > #标签4"
                  " { background: #f4f6f8; border: 1px solid #d5dae0; border-radius: 3px; }"
                  "#MainWindow > #选择列表框1 { background: white; border: 1px solid #c9cfd6; }"_s);
    m_closeMark->setCursor(Qt::PointingHandCursor);
    m_minimiseMark->setCursor(Qt::PointingHandCursor);
}

void MainWindow::createMenu()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(u"菜单"_s);
    m_menu->addAction(MainWindowText::ChangePassword, this, [] {
        // A window of its own: it takes no looks from this one.
        PasswordWindow window;
        window.exec();
    });
    m_menu->addSeparator();
    m_menu->addAction(MainWindowText::BackUp, this, [this] { backupUserInfo(m_store); });
    m_menu->addAction(MainWindowText::Restore, this, &restoreUserInfo);
    m_menu->addSeparator();
    m_menu->addAction(MainWindowText::Help, this, [this] { m_balloonTip->showPanel(helpPanelHtml(), mousePosition()); });
    m_menu->addAction(MainWindowText::About, this, [this] { m_balloonTip->showPanel(aboutPanelHtml(), mousePosition()); });
    m_menu->addSeparator();
    m_menu->addAction(MainWindowText::Exit, this, &exitProgram);
}

void MainWindow::createOperations()
{
    m_operations = new PictureOperations(*this, m_store);
}

void MainWindow::connectEvents()
{
    connect(m_pictureList, &CheckBoxList::userSelectionChanged, this, &MainWindow::showSelectedPicture);
    connect(m_addButton, &QPushButton::clicked, m_operations, &PictureOperations::add);
    connect(m_replaceButton, &QPushButton::clicked, m_operations, &PictureOperations::replace);
    connect(m_renameButton, &QPushButton::clicked, m_operations, &PictureOperations::rename);
    connect(m_deleteButton, &QPushButton::clicked, m_operations, &PictureOperations::deletePicture);
    connect(m_exportButton, &QPushButton::clicked, m_operations, &PictureOperations::exportPicture);
    // The preview hears double-clicks only once it is enabled, after the
    // first selection; the list hears them at any time.
    connect(m_pictureList, &CheckBoxList::listDoubleClicked, this, &MainWindow::openViewer);
    connect(m_preview, &PictureLabel::doubleClicked, this, &MainWindow::openViewer);
}

void MainWindow::bindKeys()
{
    // Delete in the list deletes (after the question); in the name box it
    // stays a text key.
    auto *deleteKey = new QShortcut(QKeySequence::Delete, m_pictureList, nullptr, nullptr, Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, m_operations, &PictureOperations::deletePicture);
    auto *renameKey = new QShortcut(Qt::Key_F2, this);
    connect(renameKey, &QShortcut::activated, this, [this] {
        m_nameBox->setFocus();
        m_nameBox->selectAll();
    });
    connect(m_pictureList, &CheckBoxList::rowEntered, this, &MainWindow::openViewer);
    auto *menuKey = new QShortcut(Qt::Key_Menu, this);
    connect(menuKey, &QShortcut::activated, this, [this] {
        popupMenu(*m_menu, m_pictureList->mapToGlobal(m_pictureList->rect().center()));
    });
    setAcceptDrops(true);
}

void MainWindow::openPictureStore()
{
    const DataFolder folder(programDirectory());
    const QString path = folder.libraryPath();
    // A copy into BAK that a crash broke off is finished now, whatever
    // becomes of the library.
    if (const auto finished = LibraryFiles(folder.bakLibraryPath()).finishBrokenStep(); !finished)
        qCWarning(lcMainWindow).noquote() << "the BAK copy stays as it is:" << finished.error();
    auto opened = m_store.open(path);
    if (opened)
        return;
    qCWarning(lcMainWindow).noquote() << "the library cannot be opened:" << opened.error().reason;
    switch (offerLibraryFromBak(path, opened.error())) {
    case Recovery::Restored:
        opened = m_store.open(path);
        if (opened)
            return;
        break;
    case Recovery::Declined:
    case Recovery::Failed:
        return;
    case Recovery::NotOffered:
        break;
    }
    messageBox(MainWindowText::LibraryUnopenable.arg(opened.error().reason), MessageKind::Stop, ToolkitText::ErrorTitle);
}

void MainWindow::attachPreviewHint()
{
    m_balloonTip->attachHint(m_preview, MainWindowText::PreviewHint);
}

void MainWindow::refreshPictureList()
{
    m_pictureList->clear();
    std::vector<CheckBoxList::Row> rows;
    rows.reserve(std::size_t(m_store.count()));
    for (int record = 1; record <= m_store.count(); ++record)
        rows.push_back({m_store.name(record), record});
    m_pictureList->addRows(std::move(rows));
}

void MainWindow::showSelectedPicture()
{
    m_welcomePicture->hide();
    m_welcomeLine->hide();
    m_preview->setEnabled(true);
    const int record = m_pictureList->rowValue(m_pictureList->selectedIndex());
    m_recordNumberLabel->setText(QString::number(record));
    if (!m_store.isRecord(record)) {
        showEmptyDetails();
        return;
    }
    m_currentRecord = record;
    m_currentCategory = m_store.category(record);
    m_nameBox->setText(m_store.name(record));
    m_categoryLabel->setText(m_currentCategory);
    // The picture follows from a worker; until then the last one stays.
    m_loader.request(m_preview, sourceOf(record), m_preview->contentsRect().size(),
                     [this](const DecodedPicture &picture) { m_preview->showPicture(picture.image, picture.note); });
}

PictureSource MainWindow::sourceOf(int record) const
{
    const PictureStore::PictureRef ref = m_store.pictureRef(record);
    if (ref.id == 0)
        return {};
    return {ref.version, [path = m_store.picturesPath(), id = ref.id] { return readPictureBytes(path, id); }};
}

void MainWindow::showRecordAfterChange(int record)
{
    refreshPictureList();
    if (m_store.count() == 0) {
        m_currentRecord = 0;
        m_currentCategory.clear();
        m_pictureList->setSelectedIndex(-1);
        m_recordNumberLabel->clear();
        showEmptyDetails();
        return;
    }
    m_pictureList->setSelectedIndex(std::min(record, m_store.count()) - 1);
    showSelectedPicture();
}

int MainWindow::selectedRecord() const
{
    return m_pictureList->selectedIndex() >= 0 ? m_currentRecord : 0;
}

QString MainWindow::currentCategory() const
{
    return m_currentCategory;
}

QString MainWindow::typedName() const
{
    return m_nameBox->text();
}

void MainWindow::showEmptyDetails()
{
    m_loader.cancel(m_preview);
    m_nameBox->clear();
    m_categoryLabel->clear();
    m_preview->clearPicture();
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
    return m_pictureList->rowCount();
}

int MainWindow::selectedRow() const
{
    return m_pictureList->selectedIndex();
}

QString MainWindow::rowName(int row) const
{
    return m_pictureList->rowText(row);
}

void MainWindow::showRow(int row)
{
    m_pictureList->setSelectedIndex(row);
    showSelectedPicture();
}

PictureSource MainWindow::currentPicture() const
{
    return sourceOf(m_currentRecord);
}

PictureSource MainWindow::pictureOfRow(int row) const
{
    return sourceOf(m_pictureList->rowValue(row));
}

PictureLoader &MainWindow::pictureLoader()
{
    return m_loader;
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
        popupMenu(*m_menu, mousePosition());
        return;
    }
    QWidget::mousePressEvent(event);
}

namespace {

QStringList localFiles(const QMimeData *data)
{
    QStringList files;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            files << url.toLocalFile();
    }
    return files;
}

}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!localFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QStringList files = localFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    m_operations->addFiles(files);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_store.close();
    event->accept();
}
