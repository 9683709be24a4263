#include "toolkit/FileDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// What Qt reads as the patterns in "label (patterns)".
bool isPlainPatternList(const QString &patterns)
{
    static const QRegularExpression plain(u"^[a-zA-Z0-9_.,*? +;#\\-\\[\\]@{}/!<>$%&=^~:|]*$"_s);
    return plain.match(patterns).hasMatch();
}

struct FilterEntry
{
    // What the user reads in the filter list.
    QString label;
    // Qt's space-separated pattern list.
    QString patterns;

    // Qt lists files by the patterns in "label (patterns)" and, without
    // details, shows the label alone. Patterns it cannot read there
    // (non-ASCII ones) are given alone: Qt takes them whole and shows nothing.
    bool qtShowsLabel() const { return isPlainPatternList(patterns); }
    QString nameFilter() const { return qtShowsLabel() ? label + u" ("_s + patterns + u')' : patterns; }
};

// One entry per label and pattern pair; a label without its pattern is
// dropped. Patterns separated by ";" are separated by spaces, and "*.*"
// also matches names without a dot.
QList<FilterEntry> filterEntries(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QList<FilterEntry> entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == u"*.*")
                pattern = u"*"_s;
        }
        entries.append({parts.at(i), patterns.join(u' ')});
    }
    return entries;
}

}

void configureFileDialog(QFileDialog &dialog, const FileDialogRequest &request)
{
    const bool save = request.kind == FileDialogKind::Save;
    // A native dialog shows name filters in its own way; Qt's own dialog
    // shows the labels as designed.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setWindowTitle(request.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile
                            : request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    const QList<FilterEntry> entries = filterEntries(request.filter);
    QStringList nameFilters;
    for (const FilterEntry &entry : entries)
        nameFilters.append(entry.nameFilter());
    dialog.setNameFilters(nameFilters);
    // Patterns given alone show nothing in the filter list: their labels go in by hand.
    if (auto *list = dialog.findChild<QComboBox *>(u"fileTypeCombo"_s)) {
        for (int i = 0; i < list->count() && i < entries.size(); ++i) {
            if (!entries.at(i).qtShowsLabel())
                list->setItemText(i, entries.at(i).label);
        }
    }
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
