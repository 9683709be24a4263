#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

class QKeyEvent;

// The hot keys of the program. It watches the key presses of the whole
// application while at least one hot key is registered and hands the
// presses of hot keys to their receivers through the event loop.
class HotKeyRegistry : public QObject
{
    Q_OBJECT

public:
    // The one registry, owned by the application object.
    static HotKeyRegistry &instance();

    int add(QWidget *window, QObject *receiver, unsigned modifiers, int virtualKey);
    bool remove(int id);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Binding
    {
        int id = 0;
        QPointer<QWidget> window;
        QPointer<QObject> receiver;
        Qt::KeyboardModifiers modifiers;
        int key = 0;
        // Presses handed on and not yet handled by the receiver.
        int pressesUnderway = 0;
    };

    explicit HotKeyRegistry(QObject *application);

    Binding *find(int id);
    Binding *bindingFor(QWidget *target, const QKeyEvent &press);
    void takePress(Binding &binding, bool repeated);
    void deliver(int id);
    void dropDeadBindings();
    void watchKeys(bool watch);

    std::vector<Binding> m_bindings;
    int m_lastId = 0;
};
