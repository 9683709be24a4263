#pragma once

#include "store/PictureStore.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

// size bytes of a sequence that seed alone decides.
QByteArray randomBytes(qsizetype size, unsigned seed);
// Every entry of a folder with its contents, to prove nothing was touched.
std::map<QString, QByteArray> snapshot(const QString &folder);
// The reason's number and what it names, for a failure message.
std::string describe(const StoreError &error);
// The whole content of a store, read through it.
std::vector<PictureStore::NewRecord> contentOf(const PictureStore &store);

// Runs SQL on pic.edb with pic.EDT attached as "edt", bypassing the store;
// gives the first column of the first row.
std::optional<qint64> rawQuery(const QString &edbPath, const char *sql);
// Runs statements on pic.edb with pic.EDT attached, bypassing the store.
bool rawExec(const QString &edbPath, const char *sql);
// Creates a database that is valid SQLite but belongs to somebody else.
bool writeSqliteFile(const QString &path, const char *sql);

// A library in a folder of its own.
class StoreFixture : public ::testing::Test
{
protected:
    QString edbPath() const;
    QString edtPath() const;

    // Records "r1".."rN", each picture a few bytes of its own.
    static std::vector<PictureStore::NewRecord> records(int count);
    // Creates the library with this content and leaves it open in store.
    void makeStore(PictureStore &store, const std::vector<PictureStore::NewRecord> &content);
    // The store as the next start sees it.
    std::vector<PictureStore::NewRecord> reopened();

    QTemporaryDir m_dir;
};
