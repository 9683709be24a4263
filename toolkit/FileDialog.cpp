#include "toolkit/FileDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// What the toolkit reads as a pattern list in "desc (patterns)".
bool isPlainPatternList(const QString &patterns)
{
    static const QRegularExpression plain(u"^[a-zA-Z0-9_.,*? +;#\\-\\[\\]@{}/!<>$%&=^~:|]*$"_s);
    return plain.match(patterns).hasMatch();
}

// The description without a trailing "(...)" or "[...]" of its own.
QString bareDescription(const QString &description)
{
    static const QRegularExpression listed(u"\\s*(\\([^()]*\\)|\\[[^\\[\\]]*\\])\\s*$"_s);
    return QString(description).remove(listed);
}

}

QStringList nameFiltersFromPairs(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == u"*.*")
                pattern = u"*"_s;
        }
        const QString patternList = patterns.join(u' ');
        if (isPlainPatternList(patternList))
            nameFilters.append(bareDescription(parts.at(i)) + u" ("_s + patternList + u')');
        else
            nameFilters.append(patternList);
    }
    return nameFilters;
}

void configureFileDialog(QFileDialog &dialog, const FileDialogRequest &request)
{
    const bool save = request.kind == FileDialogKind::Save;
    dialog.setWindowTitle(request.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile
                            : request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setNameFilters(nameFiltersFromPairs(request.filter));
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
}

std::optional<QStringList> showFilesDialog(const FileDialogRequest &request)
{
    if (DialogResponder *responder = DialogResponder::installed())
        return responder->answerFileDialog(request);

    QFileDialog dialog(QApplication::activeWindow());
    configureFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles();
}

std::optional<QString> showFileDialog(const FileDialogRequest &request)
{
    const std::optional<QStringList> chosen = showFilesDialog(request);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    return chosen->constFirst();
}
