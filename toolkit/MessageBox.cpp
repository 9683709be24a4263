#include "toolkit/MessageBox.h"

#include "toolkit/DialogResponder.h"

#include <QApplication>

MessageStyle styleOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Stop:
        return {QMessageBox::Critical, QMessageBox::Ok, QMessageBox::Ok};
    case MessageKind::Warning:
        return {QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok};
    case MessageKind::OkCancelQuestion:
        return {QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok};
    case MessageKind::YesNoInformation:
        return {QMessageBox::Information, QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
    case MessageKind::YesNoWarning:
        return {QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No, QMessageBox::No};
    case MessageKind::Information:
        break;
    }
    return {QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok};
}

QMessageBox::StandardButton messageBox(const QString &text, MessageKind kind, const QString &title)
{
    if (DialogResponder *responder = DialogResponder::installed())
        return responder->answerMessage({text, kind, title});
    const MessageStyle style = styleOf(kind);
    QMessageBox box(style.icon, title.isEmpty() ? QApplication::applicationName() : title, text, style.buttons,
                    QApplication::activeWindow());
    box.setDefaultButton(style.defaultButton);
    return QMessageBox::StandardButton(box.exec());
}
