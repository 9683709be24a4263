#pragma once

#include "store/StoreError.h"

#include <QString>

#include <expected>

class SqliteDatabase;

// What the two files of a library hold: pic.edb the table of pictures,
// pic.EDT their bytes. Each is marked in its SQLite header as this
// program's file of its kind and carries the version of its layout, so
// that another program's database, or the two files swapped, are known
// before anything is written.
namespace LibraryLayout {

enum class File { Rows, Bytes };

// Reads the SQLite header of the file at path directly, before SQLite could
// touch a file that is not ours: NotAFile, Unreadable, NotALibraryFile,
// ForeignFile or WalFile when it is not one of this program's.
std::expected<void, StoreError> checkHeader(File file, const QString &path);

// Checks that the file, open on db (pic.EDT attached as "edt"), has this
// program's table and version: NewerBuild, NoTables, or Unreadable with
// SQLite's reason. Reading it also rolls back a commit that was interrupted.
std::expected<void, StoreError> checkTables(SqliteDatabase &db, File file, const QString &path);

// Marks both files of db and creates their tables, inside the caller's
// transaction.
std::expected<void, StoreError> createTables(SqliteDatabase &db);

}
