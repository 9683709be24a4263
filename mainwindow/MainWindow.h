#pragma once

#include "config/Session.h"
#include "store/PictureStore.h"
#include "viewer/PictureSequence.h"

#include <QPixmap>
#include <QWidget>

class BalloonTip;
class CheckBoxList;
class MainWindowMenu;
class PictureLabel;
class PictureOperations;
class QLabel;
class QLineEdit;
class QPushButton;

// The picture library's working window: the list of every picture by name,
// the preview of the selected one with its name, and the buttons that change
// the library. The list's selection and the record shown for it are the one
// notion of the current picture; the window keeps that record and its
// category itself, the widgets only show them.
class MainWindow : public QWidget, public PictureSequence
{
    Q_OBJECT

public:
    static constexpr int Width = 550;
    static constexpr int Height = 450;

    // The session's user and account file serve the menu.
    explicit MainWindow(const Session &session, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Opens the picture library, offering its BAK copy when it is damaged,
    // and lists it; once, after the window shows.
    void openLibrary();

    // Rebuilds the list from the store: one row per record, the picture's
    // name as text and its record number as value. No row is selected
    // afterwards.
    void refreshPictureList();
    // Shows the selected row's record: its number, its name in the name box,
    // its category and its picture in the preview, and makes it the current
    // record. With no valid row selected, the details go blank and the
    // current record stays.
    void showSelectedPicture();
    // Rebuilds the list after a change and shows record, or the last one
    // when there are fewer now, or no picture when none is left; the
    // welcome labels stay hidden once the first selection hid them.
    void showRecordAfterChange(int record);
    // Opens the full-screen viewer and waits until it closes.
    void openViewer();

    PictureStore &store();
    // The record shown for the selected row; 0 when no row is selected.
    int selectedRecord() const;
    // The category of that record.
    QString currentCategory() const;
    // The name box as the user left it.
    QString typedName() const;

    // What the viewer steps through.
    int pictureCount() const override;
    int rowCount() const override;
    int selectedRow() const override;
    QString rowName(int row) const override;
    void showRow(int row) override;
    PictureSource currentPicture() const override;
    PictureSource pictureOfRow(int row) const override;
    PictureLoader &pictureLoader() override;

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
    void createOperations();
    void connectEvents();
    void bindKeys();
    void openPictureStore();
    void attachPreviewHint();
    void showEmptyDetails();
    PictureSource sourceOf(int record) const;

    PictureStore m_store;
    PictureLoader m_loader;
    QPixmap m_background;
    PictureOperations *m_operations = nullptr;
    // The record last shown, kept while no row is selected (the viewer
    // goes on showing it); 0 before the first.
    int m_currentRecord = 0;
    QString m_currentCategory;

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
