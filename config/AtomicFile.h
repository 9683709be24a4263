#pragma once

#include "config/ConfigError.h"

#include <QByteArray>
#include <QString>

#include <expected>

// Every file the program writes goes through here. The new content is
// written beside the target, flushed (and the flush checked: a full disk
// shows there, not at the rename), synced to disk and renamed over the
// target (and the folder synced after), so the target is at every moment either its old content or the
// whole new one. On failure the target is as it was, no temporary file is
// left, and the reason comes back: FolderMissing, FolderInTheWay or
// CannotWrite.
std::expected<void, ConfigError> writeFileAtomically(const QString &path, const QByteArray &bytes);

// Copies source over target the same way; CannotRead when source cannot be read.
std::expected<void, ConfigError> copyFileAtomically(const QString &source, const QString &target);

// Makes the renames and removals inside folder durable: after a power cut
// the folder lists what it listed when this returned. CannotSyncFolder
// where the system refuses (where folders cannot be synced, it is a no-op).
std::expected<void, ConfigError> syncFolder(const QString &folder);
