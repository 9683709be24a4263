#pragma once

#include "toolkit/DialogResponder.h"

#include <deque>
#include <vector>

// A responder that answers from scripts queued in advance and records every
// request. Unscripted message boxes answer with their default button,
// unscripted file dialogs and menus are cancelled.
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

    const std::vector<MessageRequest> &messages() const;
    const std::vector<FileDialogRequest> &fileRequests() const;
    const std::vector<QStringList> &menus() const;
    // The labels of the long pieces of work that reported steps, in order.
    const QStringList &progressLabels() const;

    QMessageBox::StandardButton answerMessage(const MessageRequest &request) override;
    std::optional<QStringList> answerFileDialog(const FileDialogRequest &request) override;
    std::optional<int> chooseMenuItem(const QStringList &captions) override;
    bool continueProgress(const QString &label, qint64 done, qint64 total) override;
    std::optional<QSize> screenSize() const override;
    std::optional<QPoint> mousePosition() const override;

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
    QString m_cancelLabel;
    int m_cancelAfter = 0;
    int m_stepsSeen = 0;
};
