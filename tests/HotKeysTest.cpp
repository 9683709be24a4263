#include "HotKeyEvent.h"
#include "HotKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Counts what reaches a control: hot-key presses and presses of the arrow
// key Right.
class Counter : public QObject
{
public:
    explicit Counter(QObject *watched) { watched->installEventFilter(this); }

    std::vector<int> hotKeys;
    int rightPresses = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == HotKeyEvent::eventType())
            hotKeys.push_back(static_cast<HotKeyEvent *>(event)->hotKeyId());
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Right)
            ++rightPresses;
        return false;
    }
};

void press(QWidget *target, int key, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(target, Qt::Key(key), modifiers);
    QCoreApplication::processEvents();
}

}

TEST(HotKeysTest, PressesReachTheReceiverOnlyWhileItsWindowIsActive)
{
    QWidget window;
    auto *edit = new QLineEdit(&window);
    auto *receiver = new QLabel(&window);
    Counter atReceiver(receiver);
    Counter atEdit(edit);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const int id = registerHotKey(&window, receiver, HotKeyModifiers::Control | HotKeyModifiers::Shift,
                                  VirtualKey::Right);

    press(edit, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(atReceiver.hotKeys, std::vector<int>{id});
    EXPECT_EQ(atEdit.rightPresses, 0) << "the hot key is taken from the focused control";
    press(edit, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier);
    EXPECT_EQ(atReceiver.hotKeys.size(), 2u) << "the keypad's arrow is the same key";

    press(edit, Qt::Key_Right);
    press(edit, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(atReceiver.hotKeys.size(), 2u) << "other modifiers, other key";
    EXPECT_EQ(atEdit.rightPresses, 2);

    QWidget otherWindow;
    otherWindow.show();
    otherWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&otherWindow));
    press(edit, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(atReceiver.hotKeys.size(), 2u) << "an inactive window's hot key does nothing";
    EXPECT_EQ(atEdit.rightPresses, 3);

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(unregisterHotKey(id));
    press(edit, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(atReceiver.hotKeys.size(), 2u) << "released";
    EXPECT_EQ(atEdit.rightPresses, 4);
}
