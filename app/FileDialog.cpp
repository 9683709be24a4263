#include "FileDialog.h"

#include <QApplication>
#include <QFileDialog>

using namespace Qt::StringLiterals;

QStringList nameFiltersFromPairs(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(u';', u' ');
        nameFilters.append(parts.at(i) + u" ("_s + patterns.simplified() + u')');
    }
    return nameFilters;
}

std::optional<QString> showFileDialog(const FileDialogRequest &request)
{
    if (DialogResponder *responder = DialogResponder::installed())
        return responder->answerFileDialog(request);

    QFileDialog dialog(QApplication::activeWindow(), request.title);
    const bool save = request.kind == FileDialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFiltersFromPairs(request.filter));
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}
