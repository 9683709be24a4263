#pragma once

#include <QDialog>

class PictureBox;
class PictureSequence;
class QLabel;
class QToolButton;

// The full-screen viewer: one picture of the library at a time over the
// whole screen (fitted into it when larger), stepped backwards and forwards
// in the order of the main
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

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Left and Right step. A repeat of a held key that comes while the
    // step before it still waits is stale and dropped, so holding a key
    // never piles up steps behind the keyboard.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void styleControls();
    void connectEvents();
    void coverScreen();
    // Shows the current picture fitted into the box, and has its
    // neighbours on both sides decoded ahead, so that a step is a paint.
    void showCurrentPicture();
    // The count and the number show whole: the number label widens into
    // the free row up to the back button, and the font of either shrinks
    // as far as it still has to.
    void showCount();
    void showNumber(const QString &name);
    void fitNumber();
    // Places the controls: the backdrop and the picture box follow the
    // window, the bottom row follows the screen.
    void layoutViewer();
    void step(int offset);

    PictureSequence &m_pictures;
    // Steps asked for by a key and not yet taken.
    int m_stepsWaiting = 0;
    // What the number label shows.
    QString m_numberCaption;

    // The controls, from the bottom up.
    QLabel *m_backdrop = nullptr;
    PictureBox *m_pictureBox = nullptr;
    QLabel *m_countLabel = nullptr;
    QLabel *m_numberLabel = nullptr;
    QToolButton *m_backButton = nullptr;
    QToolButton *m_forwardButton = nullptr;
    QToolButton *m_exitButton = nullptr;
};
