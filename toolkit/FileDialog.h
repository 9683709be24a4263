#pragma once

#include "toolkit/DialogResponder.h"

#include <QString>
#include <QStringList>

#include <optional>

class QFileDialog;

// Turns "desc|pattern|desc|pattern" into the toolkit's name filters,
// "desc (pattern pattern)": a pattern list separated by ";" becomes a
// space-separated one, "*.*" also matches names without a dot, and a
// pattern list already written into the description is not shown twice.
// Patterns the toolkit cannot read after a description (non-ASCII ones)
// are given alone. A description without its pattern is dropped.
QStringList nameFiltersFromPairs(const QString &filter);

// Sets up a dialog for the request.
void configureFileDialog(QFileDialog &dialog, const FileDialogRequest &request);

// Shows a modal open or save dialog; the chosen full path, or nothing when
// the user cancelled.
std::optional<QString> showFileDialog(const FileDialogRequest &request);
// The same for a dialog that takes several files; the paths in the order
// the user chose them.
std::optional<QStringList> showFilesDialog(const FileDialogRequest &request);
