#pragma once

#include "mainwindow/LibraryModel.h"
#include "mainwindow/PictureOperations.h"

#include <QPixmap>
#include <QWidget>

class BalloonTip;
class CheckBoxList;
class PictureLabel;
class QLabel;
class QLineEdit;
class QMenu;
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

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

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
    void createMenu();
    void connectEvents();
    void bindKeys();
    void openPictureStore();
    void attachPreviewHint();
    void showSelection();
    void showEmptyDetails();

    QPixmap m_background;
    LibraryModel m_library;
    PictureOperations m_operations;

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
    QMenu *m_menu = nullptr;
};
