#include "toolkit/MessageBox.h"

#include "toolkit/DialogResponder.h"
#include "toolkit/ToolkitTexts.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

std::vector<MessageAnswer> answersOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::OkCancelQuestion:
        return {MessageAnswer::Ok, MessageAnswer::Cancel};
    case MessageKind::YesNoInformation:
    case MessageKind::YesNoWarning:
        return {MessageAnswer::Yes, MessageAnswer::No};
    default:
        return {MessageAnswer::Ok};
    }
}

MessageAnswer defaultAnswer(MessageKind kind)
{
    return answersOf(kind).size() == 2 && answersOf(kind).back() == MessageAnswer::No ? MessageAnswer::No
                                                                                       : answersOf(kind).front();
}

MessageAnswer escapeAnswer(MessageKind kind)
{
    return answersOf(kind).back();
}

namespace {

QMessageBox::Icon iconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Stop:
        return QMessageBox::Critical;
    case MessageKind::Warning:
    case MessageKind::YesNoWarning:
        return QMessageBox::Warning;
    case MessageKind::OkCancelQuestion:
        return QMessageBox::Question;
    default:
        return QMessageBox::Information;
    }
}

QPushButton *addButton(QMessageBox &box, MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Cancel:
        return box.addButton(ToolkitText::Cancel, QMessageBox::RejectRole);
    case MessageAnswer::Yes:
        return box.addButton(ToolkitText::Yes, QMessageBox::YesRole);
    case MessageAnswer::No:
        return box.addButton(ToolkitText::No, QMessageBox::NoRole);
    default:
        return box.addButton(ToolkitText::Ok, QMessageBox::AcceptRole);
    }
}

MessageAnswer showRealMessageBox(const MessageRequest &request)
{
    QMessageBox box(iconOf(request.kind), request.title.isEmpty() ? QApplication::applicationName() : request.title,
                    request.text, QMessageBox::NoButton, QApplication::activeWindow());
    std::vector<std::pair<QAbstractButton *, MessageAnswer>> buttons;
    for (MessageAnswer answer : answersOf(request.kind)) {
        QPushButton *button = addButton(box, answer);
        buttons.emplace_back(button, answer);
        if (answer == defaultAnswer(request.kind))
            box.setDefaultButton(button);
        if (answer == escapeAnswer(request.kind))
            box.setEscapeButton(button);
    }
    box.exec();
    for (const auto &[button, answer] : buttons) {
        if (box.clickedButton() == button)
            return answer;
    }
    return escapeAnswer(request.kind);
}

}

MessageAnswer messageBox(const QString &text, MessageKind kind, const QString &title)
{
    const MessageRequest request{text, kind, title};
    if (DialogResponder *responder = DialogResponder::installed())
        return responder->answerMessage(request);
    return showRealMessageBox(request);
}
