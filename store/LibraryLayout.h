#pragma once

#include "store/StoreError.h"

#include <QByteArray>
#include <QString>

#include <expected>
#include <optional>

class SqliteDatabase;

// What the two files of a library hold: pic.edb the table of pictures,
// pic.EDT their bytes. Each is marked in its SQLite header as this
// program's file of its kind and carries the version of its layout, so
// that another program's database, or the two files swapped, are known
// before anything is written. A plain library has version 1, which earlier
// builds read; a sealed one has version 2 in both files, a column that says
// of each row whether its values are sealed, and the seal's table, so that
// an earlier build calls it newer instead of showing sealed bytes.
namespace LibraryLayout {

enum class File { Rows, Bytes };

// What pic.edb of a sealed library keeps of its key.
struct Seal
{
    // The library key's identifier, never the key.
    QByteArray keyIdentifier;
    // The library key wrapped under the recovery key.
    QString recoverySlot;
};

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

// The seal of a library that checkTables passed; nothing for a plain one.
std::expected<std::optional<Seal>, StoreError> readSeal(SqliteDatabase &db);

// Turns a plain library into a sealed one, inside the caller's transaction:
// the column and the seal's table, version 2 in both files, and no plain
// fingerprint left, which would tell which known pictures are inside.
std::expected<void, StoreError> addSeal(SqliteDatabase &db, const Seal &seal);

}
