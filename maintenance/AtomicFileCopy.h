#pragma once

#include <QString>

// Copies source over target so that target is, at every moment, either its
// old content or the whole new one: the copy is written beside it, flushed
// to disk and renamed into place. False when anything fails; target is then
// as it was.
bool copyFileAtomically(const QString &source, const QString &target);

// True when both paths name one existing file, however they are spelled
// (links, "." and "..", letter case where the file system ignores it).
bool isSameFile(const QString &first, const QString &second);
