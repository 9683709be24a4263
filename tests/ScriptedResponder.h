#pragma once

#include "toolkit/DialogResponder.h"

#include <deque>
#include <functional>
#include <vector>

// A responder that answers from scripts queued in advance and records every
// request. Unscripted message boxes answer with their default button,
// unscripted file dialogs and menus are cancelled, and unscripted dialogs
// of the program's own are closed as Escape closes them.
class ScriptedResponder : public DialogResponder
{
public:
    ScriptedResponder() = default;

    void queueMessageAnswer(QMessageBox::StandardButton answer);
    void queueFileAnswer(std::optional<QString> path);
    void queueFilesAnswer(const QStringList &paths);
    // Chooses the item with this caption at the next menu (nothing when absent).
    void queueMenuChoice(const QString &caption);
    void setScreenSize(QSize size);
    void setMousePosition(QPoint position);
    // Cancels the long piece of work with this label once it has reported
    // this many steps.
    void cancelProgress(const QString &label, int afterSteps = 0);
    // Acts on the next dialog of the program's own through its controls.
    void queueDialogAnswer(std::function<void(QDialog &)> answer);

    const std::vector<MessageRequest> &messages() const;
    const std::vector<FileDialogRequest> &fileRequests() const;
    const std::vector<QStringList> &menus() const;
    // The labels of the long pieces of work that reported steps, in order.
    const QStringList &progressLabels() const;
    // The object names of the program's own dialogs answered, in order.
    const QStringList &dialogs() const;

    QMessageBox::StandardButton answerMessage(const MessageRequest &request) override;
    std::optional<QStringList> answerFileDialog(const FileDialogRequest &request) override;
    std::optional<int> chooseMenuItem(const QStringList &captions) override;
    bool continueProgress(const QString &label, qint64 done, qint64 total) override;
    std::optional<QSize> screenSize() const override;
    std::optional<QPoint> mousePosition() const override;
    std::optional<int> answerDialog(QDialog &dialog) override;

private:
    std::deque<QMessageBox::StandardButton> m_messageAnswers;
    std::deque<std::optional<QStringList>> m_fileAnswers;
    std::deque<QString> m_menuChoices;
    std::vector<MessageRequest> m_messages;
    std::vector<FileDialogRequest> m_fileRequests;
    std::vector<QStringList> m_menus;
    std::optional<QSize> m_screenSize;
    std::optional<QPoint> m_mousePosition;
    QStringList m_progressLabels;
    std::deque<std::function<void(QDialog &)>> m_dialogAnswers;
    QStringList m_dialogs;
    QString m_cancelLabel;
    int m_cancelAfter = 0;
    int m_stepsSeen = 0;
};
