#pragma once

#include "config/Session.h"
#include "mainwindow/LibraryModel.h"
#include "mainwindow/LibrarySealing.h"
#include "mainwindow/PictureOperations.h"

#include <QPixmap>
#include <QWidget>

class BalloonTip;
class CheckBoxList;
class MainWindowMenu;
class PictureLabel;
class QLabel;
class QLineEdit;
class QPushButton;

// The picture library's working window: the list of every picture by name,
// the preview of the selected one with its name, and the buttons that change
// the library. The library model beneath it holds the store and the
// current picture; the window's widgets show them and hand the user's
// actions on.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Width = 550;
    static constexpr int Height = 450;

    // The session's user and account file serve the menu.
    explicit MainWindow(const Session &session, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Opens the picture library, offering its BAK copy when it is damaged,
    // opens or seals it with the keys of the log-in, and lists it; once,
    // after the window shows. A library that stays closed to the account
    // closes the window.
    void openLibrary();

    // Selects the record of the list's selected row, as a click on it does;
    // with no valid row selected, the details go blank and the record shown
    // last stays current.
    void showSelectedPicture();
    // Opens the full-screen viewer and waits until it closes.
    void openViewer();

    LibraryModel &library();
    const LibraryModel &library() const;
    // The selected record; 0 when no row is selected.
    int selectedRecord() const;

Q_SIGNALS:
    // The window has closed: by its close mark, the menu's exit item, a
    // restore of the user information, or the window manager.
    void closed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    // Picture files dragged from a file manager are added.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void styleControls();
    void createMenu(const Session &session);
    void connectEvents();
    void bindKeys();
    void openPictureStore();
    void attachPreviewHint();
    void showSelection();
    void showEmptyDetails();

    QPixmap m_background;
    LibraryModel m_library;
    PictureOperations m_operations;
    LibrarySealing m_sealing;

    // The controls, from the bottom up.
    QLabel *m_recordNumberLabel = nullptr;
    QLabel *m_categoryLabel = nullptr;
    PictureLabel *m_preview = nullptr;
    QLabel *m_welcomePicture = nullptr;
    QLabel *m_welcomeLine = nullptr;
    QLabel *m_listFrame = nullptr;
    CheckBoxList *m_pictureList = nullptr;
    QLabel *m_buttonFrame = nullptr;
    QLabel *m_nameCaption = nullptr;
    QLineEdit *m_nameBox = nullptr;
    QPushButton *m_addButton = nullptr;
    QPushButton *m_replaceButton = nullptr;
    QPushButton *m_renameButton = nullptr;
    QPushButton *m_exportButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_minimiseMark = nullptr;
    QLabel *m_closeMark = nullptr;
    QLabel *m_footerLine = nullptr;
    BalloonTip *m_balloonTip = nullptr;
    MainWindowMenu *m_menu = nullptr;
};
