#include "toolkit/PopupMenu.h"

#include "toolkit/DialogResponder.h"

#include <QAction>
#include <QMenu>

void popupMenu(QMenu &menu, QPoint at)
{
    DialogResponder *responder = DialogResponder::installed();
    if (!responder) {
        menu.exec(at);
        return;
    }
    QList<QAction *> items;
    QStringList captions;
    for (QAction *action : menu.actions()) {
        if (action->isSeparator() || !action->isEnabled())
            continue;
        items.append(action);
        captions.append(action->text());
    }
    const std::optional<int> chosen = responder->chooseMenuItem(captions);
    if (chosen && *chosen >= 0 && *chosen < items.size())
        items.at(*chosen)->trigger();
}
