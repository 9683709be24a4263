#pragma once

#include "DialogResponder.h"

#include <QString>
#include <QStringList>

#include <optional>

// Turns "desc|pattern|desc|pattern" into the toolkit's name filters
// ("desc (pattern pattern)"); a pattern list separated by ";" becomes a
// space-separated one. A description without its pattern is dropped.
QStringList nameFiltersFromPairs(const QString &filter);

// Shows a modal open or save dialog; the chosen full path, or nothing when
// the user cancelled.
std::optional<QString> showFileDialog(const FileDialogRequest &request);
