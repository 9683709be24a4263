#include "HotKeyRegistry.h"

#include "HotKeyEvent.h"
#include "HotKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <algorithm>
#include <optional>

namespace {

constexpr unsigned AllModifiers =
    HotKeyModifiers::Alt | HotKeyModifiers::Control | HotKeyModifiers::Shift | HotKeyModifiers::Win;

std::optional<int> qtKeyFor(int virtualKey)
{
    if (virtualKey >= VirtualKey::Left && virtualKey <= VirtualKey::Down) {
        constexpr int Arrows[] = {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down};
        return Arrows[virtualKey - VirtualKey::Left];
    }
    // Digits and letters carry their ASCII code in both schemes.
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
        return virtualKey;
    if (virtualKey >= 0x70 && virtualKey <= 0x7B)
        return Qt::Key_F1 + (virtualKey - 0x70);
    return std::nullopt;
}

Qt::KeyboardModifiers qtModifiersFor(unsigned modifiers)
{
    Qt::KeyboardModifiers result;
    result.setFlag(Qt::AltModifier, modifiers & HotKeyModifiers::Alt);
    result.setFlag(Qt::ControlModifier, modifiers & HotKeyModifiers::Control);
    result.setFlag(Qt::ShiftModifier, modifiers & HotKeyModifiers::Shift);
    result.setFlag(Qt::MetaModifier, modifiers & HotKeyModifiers::Win);
    return result;
}

}

HotKeyRegistry &HotKeyRegistry::instance()
{
    static QPointer<HotKeyRegistry> registry;
    if (!registry)
        registry = new HotKeyRegistry(QCoreApplication::instance());
    return *registry;
}

HotKeyRegistry::HotKeyRegistry(QObject *application)
    : QObject(application)
{
}

int HotKeyRegistry::add(QWidget *window, QObject *receiver, unsigned modifiers, int virtualKey)
{
    dropDeadBindings();
    const std::optional<int> key = qtKeyFor(virtualKey);
    if (!window || !receiver || !key || (modifiers & ~AllModifiers))
        return 0;
    const Qt::KeyboardModifiers qtModifiers = qtModifiersFor(modifiers);
    const bool taken = std::any_of(m_bindings.begin(), m_bindings.end(), [&](const Binding &binding) {
        return binding.window == window && binding.key == *key && binding.modifiers == qtModifiers;
    });
    if (taken)
        return 0;
    m_bindings.push_back(Binding{++m_lastId, window, receiver, qtModifiers, *key});
    watchKeys(true);
    return m_lastId;
}

bool HotKeyRegistry::remove(int id)
{
    // A binding whose window or receiver is gone was released with it.
    dropDeadBindings();
    const auto removed = std::erase_if(m_bindings, [id](const Binding &binding) { return binding.id == id; });
    if (m_bindings.empty())
        watchKeys(false);
    return removed > 0;
}

void HotKeyRegistry::dropDeadBindings()
{
    std::erase_if(m_bindings, [](const Binding &binding) { return !binding.window || !binding.receiver; });
    if (m_bindings.empty())
        watchKeys(false);
}

void HotKeyRegistry::watchKeys(bool watch)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (watch)
        application->installEventFilter(this);
    else
        application->removeEventFilter(this);
}

HotKeyRegistry::Binding *HotKeyRegistry::find(int id)
{
    const auto found = std::find_if(m_bindings.begin(), m_bindings.end(),
                                    [id](const Binding &binding) { return binding.id == id; });
    return found == m_bindings.end() ? nullptr : &*found;
}

HotKeyRegistry::Binding *HotKeyRegistry::bindingFor(QWidget *target, const QKeyEvent &press)
{
    // Keypads mark their arrow keys; the hot key is the same either way.
    const Qt::KeyboardModifiers modifiers = press.modifiers() & ~Qt::KeypadModifier;
    QWidget *window = target->window();
    for (Binding &binding : m_bindings) {
        if (binding.window == window && binding.receiver && binding.key == press.key()
            && binding.modifiers == modifiers && window->isActiveWindow())
            return &binding;
    }
    return nullptr;
}

bool HotKeyRegistry::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    const auto *press = static_cast<QKeyEvent *>(event);
    Binding *binding = bindingFor(static_cast<QWidget *>(watched), *press);
    if (!binding)
        return false;
    takePress(*binding, press->isAutoRepeat());
    return true;
}

void HotKeyRegistry::takePress(Binding &binding, bool repeated)
{
    // Repeats that came in while a step was still underway are stale.
    if (repeated && binding.pressesUnderway > 0)
        return;
    ++binding.pressesUnderway;
    QMetaObject::invokeMethod(this, [this, id = binding.id] { deliver(id); }, Qt::QueuedConnection);
}

void HotKeyRegistry::deliver(int id)
{
    Binding *binding = find(id);
    if (!binding)
        return;
    if (QObject *receiver = binding->receiver) {
        HotKeyEvent press(id);
        QCoreApplication::sendEvent(receiver, &press);
    }
    // The receiver may have changed the registrations meanwhile.
    if (Binding *stillThere = find(id))
        --stillThere->pressesUnderway;
}
