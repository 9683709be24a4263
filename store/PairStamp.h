#pragma once

#include "store/StoreError.h"

#include <expected>

class SqliteDatabase;

// The random stamp that both files of a pair carry, one row in each, so
// that two files not made together never open as one library. Both work on
// a connection to pic.edb with pic.EDT attached as "edt".

// How the two files are stamped: with one stamp, not at all (the files of
// an earlier build), or otherwise (no pair).
enum class PairStamping { Paired, Unstamped, Unpaired };

std::expected<PairStamping, StoreError> pairStamping(SqliteDatabase &db);

// Gives both files one new random stamp, inside the caller's transaction.
std::expected<void, StoreError> writePairStamp(SqliteDatabase &db);
