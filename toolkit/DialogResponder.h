#pragma once

#include "toolkit/MessageKind.h"

#include <QMessageBox>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

class QDialog;

struct MessageRequest
{
    QString text;
    MessageKind kind = MessageKind::Information;
    QString title;
};

enum class FileDialogKind { Open, Save };

struct FileDialogRequest
{
    FileDialogKind kind = FileDialogKind::Open;
    QString title{};
    QString initialName{};
    // Description and pattern pairs separated by "|", e.g. "JPG图片(*.jpg)|*.jpg".
    QString filter{};
    QString defaultExtension{};
    // Whether a save dialog itself asks before an existing file is chosen.
    bool confirmOverwrite = true;
    // Whether an open dialog takes several files at once.
    bool multiple = false;
    // The folder the dialog opens in; empty for the toolkit's choice.
    QString folder{};
};

// Answers the program's dialogs in place of a person. While one is installed,
// message boxes, file dialogs and pop-up menus are not shown; the responder
// answers them. Tests install one (their scripted responder) to run whole
// user flows headless; the program itself never does.
class DialogResponder
{
public:
    virtual ~DialogResponder();

    virtual QMessageBox::StandardButton answerMessage(const MessageRequest &request) = 0;
    // The chosen full paths (one, unless the request takes several), or
    // nothing for a cancelled dialog.
    virtual std::optional<QStringList> answerFileDialog(const FileDialogRequest &request) = 0;
    // The index among the given item captions, or nothing for a dismissed menu.
    virtual std::optional<int> chooseMenuItem(const QStringList &captions) = 0;
    // Hears of a step of a long piece of work; false cancels it.
    virtual bool continueProgress(const QString &label, qint64 done, qint64 total) = 0;
    // Acts on a dialog of the program's own in place of a person, through
    // its controls; the dialog's result, or nothing to show it for real.
    virtual std::optional<int> answerDialog(QDialog &) { return std::nullopt; }

    virtual std::optional<QSize> screenSize() const { return std::nullopt; }
    virtual std::optional<QPoint> mousePosition() const { return std::nullopt; }

    static DialogResponder *installed();

    DialogResponder(const DialogResponder &) = delete;
    DialogResponder &operator=(const DialogResponder &) = delete;

protected:
    // Installs this responder for its whole lifetime; the previous one comes
    // back when it ends.
    DialogResponder();

private:
    DialogResponder *m_previous = nullptr;
};
