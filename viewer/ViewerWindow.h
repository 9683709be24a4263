#pragma once

#include <QDialog>

#include <vector>

class PictureBox;
class PictureSequence;
class QLabel;
class QToolButton;

// The full-screen viewer: one picture of the library at a time over the
// whole screen, stepped backwards and forwards in the order of the main
// list with the Left and Right keys or two buttons. It keeps no position of
// its own: a step moves the main list's selection and has the main window
// show it, so the list selection stays the one notion of the current
// picture. Each opening creates it afresh; it never changes the library.
class ViewerWindow : public QDialog
{
    Q_OBJECT

public:
    explicit ViewerWindow(PictureSequence &pictures);
    ~ViewerWindow() override;

    void stepPrevious();
    void stepNext();

    // Closing releases the Left and Right keys.
    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void styleControls();
    void connectEvents();
    void coverScreen();
    void showCurrentPicture();
    void showCount();
    void showNumber();
    void registerHotKeys();
    void releaseHotKeys();
    // Places the controls: the backdrop and the picture box follow the
    // window, the bottom row follows the screen.
    void layoutViewer();
    void step(int offset);

    PictureSequence &m_pictures;
    std::vector<int> m_hotKeys;

public:
    // The controls under their design names, from the bottom up.
    QLabel *标签1 = nullptr;
    PictureBox *图片框1 = nullptr;
    QLabel *标签2 = nullptr;
    QLabel *标签3 = nullptr;
    QToolButton *超级按钮2 = nullptr;
    QToolButton *超级按钮3 = nullptr;
    QToolButton *超级按钮1 = nullptr;
};
