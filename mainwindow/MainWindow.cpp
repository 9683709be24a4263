#include "mainwindow/MainWindow.h"

#include "config/DataFolder.h"
#include "mainwindow/MainWindowLog.h"
#include "mainwindow/MainWindowLayout.h"
#include "mainwindow/MainWindowMenu.h"
#include "mainwindow/MainWindowTexts.h"
#include "mainwindow/PictureOperations.h"
#include "mainwindow/TitleStrip.h"
#include "maintenance/LibraryRecovery.h"
#include "reasons/PictureNote.h"
#include "reasons/ReasonSentence.h"
#include "toolkit/BalloonTip.h"
#include "toolkit/CharacterLimit.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/ControlPlacement.h"
#include "toolkit/MessageBox.h"
#include "toolkit/PictureLabel.h"
#include "toolkit/PopupMenu.h"
#include "toolkit/ProgramDirectory.h"
#include "toolkit/Screen.h"
#include "toolkit/ToolkitTexts.h"
#include "toolkit/WindowFonts.h"
#include "viewer/ViewerWindow.h"

#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QMimeData>
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

MainWindow::MainWindow(const Session &session, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_background(u":/art/main-background.png"_s)
    , m_operations(m_library)
    , m_sealing(m_library, session, this)
{
    createControls();
    styleControls();
    createMenu(session);
    connectEvents();
    bindKeys();
    attachPreviewHint();
}

MainWindow::~MainWindow() = default;

void MainWindow::openLibrary()
{
    openPictureStore();
    if (m_sealing.settle() == LibrarySealing::Outcome::Close) {
        close();
        return;
    }
    m_pictureList->setFocus();
}

void MainWindow::createControls()
{
    setObjectName(u"MainWindow"_s);
    setWindowTitle(MainWindowText::Title);
    setFixedSize(Width, Height);
    move(50, 50);

    m_recordNumberLabel = placeControl(new QLabel(this), MainWindowLayout::RecordNumber);
    m_categoryLabel = placeControl(new QLabel(this), MainWindowLayout::Category);
    m_preview = placeControl(new PictureLabel(this), MainWindowLayout::Preview);
    m_preview->setEnabled(false);
    m_welcomePicture = placeControl(new QLabel(this), MainWindowLayout::WelcomePicture);
    m_welcomePicture->setPixmap(QPixmap(u":/art/welcome.png"_s));
    m_welcomePicture->setAlignment(Qt::AlignCenter);
    m_welcomeLine = placeControl(new QLabel(MainWindowText::WelcomeLine, this), MainWindowLayout::WelcomeLine);
    m_welcomeLine->setAlignment(Qt::AlignCenter);

    m_listFrame = placeControl(new QLabel(this), MainWindowLayout::ListFrame);
    m_pictureList = placeControl(new CheckBoxList(this), MainWindowLayout::PictureList);
    m_pictureList->setModel(m_library.list());

    m_buttonFrame = placeControl(new QLabel(this), MainWindowLayout::ButtonFrame);
    m_nameCaption = placeControl(new QLabel(MainWindowText::NameCaption, this), MainWindowLayout::NameCaption);
    m_nameBox = placeControl(new QLineEdit(this), MainWindowLayout::NameBox);
    new CharacterLimit(NameLimit, m_nameBox);
    m_addButton = placeControl(new QPushButton(MainWindowText::Add, this), MainWindowLayout::AddButton);
    m_replaceButton = placeControl(new QPushButton(MainWindowText::Replace, this), MainWindowLayout::ReplaceButton);
    m_renameButton = placeControl(new QPushButton(MainWindowText::Rename, this), MainWindowLayout::RenameButton);
    m_exportButton = placeControl(new QPushButton(MainWindowText::Export, this), MainWindowLayout::ExportButton);
    m_deleteButton = placeControl(new QPushButton(MainWindowText::Delete, this), MainWindowLayout::DeleteButton);

    m_titleLabel = placeControl(new QLabel(MainWindowText::Title, this), MainWindowLayout::Title);
    m_minimiseMark = placeControl(new QLabel(this), MainWindowLayout::MinimiseMark);
    m_closeMark = placeControl(new QLabel(this), MainWindowLayout::CloseMark);
    m_footerLine = placeControl(new QLabel(FooterLine, this), MainWindowLayout::Footer);

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

void MainWindow::createMenu(const Session &session)
{
    m_menu = new MainWindowMenu(session, m_library.store(), *m_balloonTip, this);
    connect(m_menu, &MainWindowMenu::closeRequested, this, &QWidget::close);
    // A first password of the user's own seals the library at once.
    connect(m_menu, &MainWindowMenu::libraryKeyChanged, this, [this] {
        if (m_sealing.settle() == LibrarySealing::Outcome::Close)
            close();
    });
}

void MainWindow::connectEvents()
{
    connect(m_pictureList, &CheckBoxList::userSelectionChanged, this, &MainWindow::showSelectedPicture);
    connect(&m_library, &LibraryModel::selectionChanged, this, &MainWindow::showSelection);
    connect(m_addButton, &QPushButton::clicked, &m_operations, &PictureOperations::add);
    connect(m_replaceButton, &QPushButton::clicked, this, [this] { m_operations.replace(selectedRecord()); });
    connect(m_renameButton, &QPushButton::clicked, this,
            [this] { m_operations.rename(selectedRecord(), m_nameBox->text()); });
    connect(m_deleteButton, &QPushButton::clicked, this, [this] { m_operations.deletePicture(selectedRecord()); });
    connect(m_exportButton, &QPushButton::clicked, this,
            [this] { m_operations.exportPicture(selectedRecord(), m_nameBox->text()); });
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
    connect(deleteKey, &QShortcut::activated, this, [this] { m_operations.deletePicture(selectedRecord()); });
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
        qCWarning(lcMainWindow).noquote() << "the BAK copy stays as it is:" << reasonSentence(finished.error());
    auto opened = m_library.open(path);
    if (opened)
        return;
    qCWarning(lcMainWindow).noquote() << "the library cannot be opened:" << reasonSentence(opened.error());
    switch (offerLibraryFromBak(path, opened.error())) {
    case Recovery::Restored:
        opened = m_library.open(path);
        if (opened)
            return;
        break;
    case Recovery::Declined:
    case Recovery::Failed:
        return;
    case Recovery::NotOffered:
        break;
    }
    messageBox(MainWindowText::LibraryUnopenable.arg(reasonSentence(opened.error())), MessageKind::Stop,
               ToolkitText::ErrorTitle);
}

void MainWindow::attachPreviewHint()
{
    m_preview->setToolTip(MainWindowText::PreviewHint);
}

void MainWindow::showSelectedPicture()
{
    m_library.select(m_pictureList->selectedIndex() + 1);
}

void MainWindow::showSelection()
{
    const int record = m_library.selectedRecord();
    m_pictureList->setSelectedIndex(record - 1);
    m_welcomePicture->hide();
    m_welcomeLine->hide();
    m_preview->setEnabled(true);
    if (record == 0) {
        m_recordNumberLabel->clear();
        showEmptyDetails();
        return;
    }
    const PictureStore &store = m_library.store();
    m_recordNumberLabel->setText(QString::number(record));
    m_nameBox->setText(store.name(record));
    m_categoryLabel->setText(store.category(record));
    // The picture follows from a worker; until then the last one stays.
    m_library.pictureLoader().request(m_preview, m_library.pictureOf(record), m_preview->contentsRect().size(),
                                      [this](const DecodedPicture &picture) { m_preview->showPicture(picture.image, pictureNote(picture)); });
}

int MainWindow::selectedRecord() const
{
    return m_library.selectedRecord();
}

void MainWindow::showEmptyDetails()
{
    m_library.pictureLoader().cancel(m_preview);
    m_nameBox->clear();
    m_categoryLabel->clear();
    m_preview->clearPicture();
}

void MainWindow::openViewer()
{
    ViewerWindow viewer(m_library);
    viewer.exec();
}

LibraryModel &MainWindow::library()
{
    return m_library;
}

const LibraryModel &MainWindow::library() const
{
    return m_library;
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
    m_operations.addFiles(files);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_library.close();
    event->accept();
    Q_EMIT closed();
}
