#include "ScriptedResponder.h"

#include "toolkit/MessageBox.h"

#include <QDialog>

void ScriptedResponder::queueMessageAnswer(QMessageBox::StandardButton answer)
{
    m_messageAnswers.push_back(answer);
}

void ScriptedResponder::queueFileAnswer(std::optional<QString> path)
{
    m_fileAnswers.push_back(path ? std::optional<QStringList>(QStringList{*path}) : std::nullopt);
}

void ScriptedResponder::queueFilesAnswer(const QStringList &paths)
{
    m_fileAnswers.push_back(paths);
}

void ScriptedResponder::queueMenuChoice(const QString &caption)
{
    m_menuChoices.push_back(caption);
}

void ScriptedResponder::setScreenSize(QSize size)
{
    m_screenSize = size;
}

void ScriptedResponder::setMousePosition(QPoint position)
{
    m_mousePosition = position;
}

const std::vector<MessageRequest> &ScriptedResponder::messages() const
{
    return m_messages;
}

const std::vector<FileDialogRequest> &ScriptedResponder::fileRequests() const
{
    return m_fileRequests;
}

const std::vector<QStringList> &ScriptedResponder::menus() const
{
    return m_menus;
}

QMessageBox::StandardButton ScriptedResponder::answerMessage(const MessageRequest &request)
{
    m_messages.push_back(request);
    if (m_messageAnswers.empty())
        return styleOf(request.kind).defaultButton;
    const QMessageBox::StandardButton answer = m_messageAnswers.front();
    m_messageAnswers.pop_front();
    return answer;
}

std::optional<QStringList> ScriptedResponder::answerFileDialog(const FileDialogRequest &request)
{
    m_fileRequests.push_back(request);
    if (m_fileAnswers.empty())
        return std::nullopt;
    const std::optional<QStringList> answer = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    return answer;
}

std::optional<int> ScriptedResponder::chooseMenuItem(const QStringList &captions)
{
    m_menus.push_back(captions);
    if (m_menuChoices.empty())
        return std::nullopt;
    const QString choice = m_menuChoices.front();
    m_menuChoices.pop_front();
    const qsizetype index = captions.indexOf(choice);
    return index < 0 ? std::nullopt : std::optional<int>(int(index));
}

std::optional<QSize> ScriptedResponder::screenSize() const
{
    return m_screenSize;
}

std::optional<QPoint> ScriptedResponder::mousePosition() const
{
    return m_mousePosition;
}

void ScriptedResponder::cancelProgress(const QString &label, int afterSteps)
{
    m_cancelLabel = label;
    m_cancelAfter = afterSteps;
    m_stepsSeen = 0;
}

const QStringList &ScriptedResponder::progressLabels() const
{
    return m_progressLabels;
}

bool ScriptedResponder::continueProgress(const QString &label, qint64, qint64)
{
    if (!m_progressLabels.endsWith(label))
        m_progressLabels.append(label);
    return label != m_cancelLabel || m_stepsSeen++ < m_cancelAfter;
}

void ScriptedResponder::queueDialogAnswer(std::function<void(QDialog &)> answer)
{
    m_dialogAnswers.push_back(std::move(answer));
}

const QStringList &ScriptedResponder::dialogs() const
{
    return m_dialogs;
}

std::optional<int> ScriptedResponder::answerDialog(QDialog &dialog)
{
    m_dialogs << dialog.objectName();
    if (m_dialogAnswers.empty()) {
        dialog.reject();
        return dialog.result();
    }
    const std::function<void(QDialog &)> answer = std::move(m_dialogAnswers.front());
    m_dialogAnswers.pop_front();
    answer(dialog);
    return dialog.result();
}
