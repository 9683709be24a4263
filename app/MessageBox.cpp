#include "MessageBox.h"

#include "DialogResponder.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

std::vector<int> messageBoxButtons(unsigned flags)
{
    switch (flags & MessageBoxFlags::ButtonMask) {
    case MessageBoxFlags::OkCancel:
        return {IDOK, IDCANCEL};
    case MessageBoxFlags::AbortRetryIgnore:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MessageBoxFlags::YesNoCancel:
        return {IDYES, IDNO, IDCANCEL};
    case MessageBoxFlags::YesNo:
        return {IDYES, IDNO};
    case MessageBoxFlags::RetryCancel:
        return {IDRETRY, IDCANCEL};
    default:
        return {IDOK};
    }
}

int messageBoxDefaultButton(unsigned flags)
{
    const std::vector<int> buttons = messageBoxButtons(flags);
    std::size_t index = 0;
    if ((flags & MessageBoxFlags::DefaultButtonMask) == MessageBoxFlags::DefaultButton2)
        index = 1;
    else if ((flags & MessageBoxFlags::DefaultButtonMask) == MessageBoxFlags::DefaultButton3)
        index = 2;
    return buttons.at(std::min(index, buttons.size() - 1));
}

int messageBoxEscapeButton(unsigned flags)
{
    const std::vector<int> buttons = messageBoxButtons(flags);
    for (int candidate : {IDCANCEL, IDNO, IDOK}) {
        if (std::find(buttons.begin(), buttons.end(), candidate) != buttons.end())
            return candidate;
    }
    return buttons.back();
}

namespace {

QMessageBox::Icon iconFor(unsigned flags)
{
    switch (flags & MessageBoxFlags::IconMask) {
    case MessageBoxFlags::IconStop:
        return QMessageBox::Critical;
    case MessageBoxFlags::IconQuestion:
        return QMessageBox::Question;
    case MessageBoxFlags::IconExclamation:
        return QMessageBox::Warning;
    case MessageBoxFlags::IconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct ButtonLook
{
    QString caption;
    QMessageBox::ButtonRole role;
};

ButtonLook lookOf(int id)
{
    switch (id) {
    case IDCANCEL:
        return {u"取消"_s, QMessageBox::RejectRole};
    case IDABORT:
        return {u"中止(&A)"_s, QMessageBox::RejectRole};
    case IDRETRY:
        return {u"重试(&R)"_s, QMessageBox::AcceptRole};
    case IDIGNORE:
        return {u"忽略(&I)"_s, QMessageBox::AcceptRole};
    case IDYES:
        return {u"是(&Y)"_s, QMessageBox::YesRole};
    case IDNO:
        return {u"否(&N)"_s, QMessageBox::NoRole};
    default:
        return {u"确定"_s, QMessageBox::AcceptRole};
    }
}

int showRealMessageBox(const MessageRequest &request)
{
    QMessageBox box(iconFor(request.flags),
                    request.title.isEmpty() ? QApplication::applicationName() : request.title,
                    request.text, QMessageBox::NoButton, QApplication::activeWindow());
    const int defaultId = messageBoxDefaultButton(request.flags);
    const int escapeId = messageBoxEscapeButton(request.flags);
    std::vector<std::pair<QAbstractButton *, int>> buttons;
    for (int id : messageBoxButtons(request.flags)) {
        const ButtonLook look = lookOf(id);
        QPushButton *button = box.addButton(look.caption, look.role);
        buttons.emplace_back(button, id);
        if (id == defaultId)
            box.setDefaultButton(button);
        if (id == escapeId)
            box.setEscapeButton(button);
    }
    box.exec();
    for (const auto &[button, id] : buttons) {
        if (box.clickedButton() == button)
            return id;
    }
    return escapeId;
}

}

int messageBox(const QString &text, unsigned flags, const QString &title)
{
    const MessageRequest request{text, flags, title};
    if (DialogResponder *responder = DialogResponder::installed())
        return responder->answerMessage(request);
    return showRealMessageBox(request);
}
