#pragma once

#include "toolkit/DialogResponder.h"

#include <QString>
#include <QStringList>

#include <optional>

class QFileDialog;

// Sets up a dialog for the request. Its filter list shows the labels of the
// request's "label|pattern|label|pattern" filter byte for byte, and each
// entry lists the files its pattern matches.
void configureFileDialog(QFileDialog &dialog, const FileDialogRequest &request);

// Shows a modal open or save dialog; the chosen full path, or nothing when
// the user cancelled.
std::optional<QString> showFileDialog(const FileDialogRequest &request);
// The same for a dialog that takes several files; the paths in the order
// the user chose them.
std::optional<QStringList> showFilesDialog(const FileDialogRequest &request);
