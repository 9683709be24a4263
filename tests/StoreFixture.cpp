#include "StoreFixture.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

#include <memory>
#include <random>

using namespace Qt::StringLiterals;
using Record = PictureStore::NewRecord;

QByteArray randomBytes(qsizetype size, unsigned seed)
{
    std::mt19937 rng(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(rng());
    return bytes;
}

std::map<QString, QByteArray> snapshot(const QString &folder)
{
    std::map<QString, QByteArray> entries;
    const QDir dir(folder);
    const auto filter = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QFileInfo &info : dir.entryInfoList(filter))
        entries[info.fileName()] = info.isDir() ? QByteArray("<folder>") : readFile(info.filePath());
    return entries;
}

std::string describe(const StoreError &error)
{
    const QString cause = error.cause ? u" behind "_s + QString::fromStdString(describe(*error.cause)) : QString();
    return u"reason %1 (%2 %3)%4"_s.arg(int(error.reason)).arg(error.detail, error.companion, cause).toStdString();
}

std::vector<Record> contentOf(const PictureStore &store)
{
    std::vector<Record> records;
    for (int n = 1; n <= store.count(); ++n)
        records.push_back({store.name(n), store.category(n), store.picture(n).value_or(QByteArray("<unreadable>"))});
    return records;
}

std::optional<qint64> rawQuery(const QString &edbPath, const char *sql)
{
    sqlite3 *handle = nullptr;
    const int rc =
        sqlite3_open_v2(QFile::encodeName(edbPath).constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(handle, &sqlite3_close);
    const QByteArray attach = "ATTACH DATABASE '" + QFile::encodeName(PictureStore::companionPath(edbPath)) + "' AS edt";
    if (rc != SQLITE_OK || sqlite3_exec(handle, attach.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return std::nullopt;
    sqlite3_stmt *raw = nullptr;
    sqlite3_prepare_v2(handle, sql, -1, &raw, nullptr);
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> statement(raw, &sqlite3_finalize);
    if (!raw || sqlite3_step(raw) != SQLITE_ROW)
        return std::nullopt;
    return sqlite3_column_int64(raw, 0);
}

bool rawExec(const QString &edbPath, const char *sql)
{
    sqlite3 *handle = nullptr;
    sqlite3_open_v2(QFile::encodeName(edbPath).constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(handle, &sqlite3_close);
    const QByteArray attach = "ATTACH DATABASE '" + QFile::encodeName(PictureStore::companionPath(edbPath)) + "' AS edt;";
    return sqlite3_exec(handle, (attach + sql).constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool writeSqliteFile(const QString &path, const char *sql)
{
    sqlite3 *handle = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &handle);
    const std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(handle, &sqlite3_close);
    return sqlite3_exec(handle, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

QString StoreFixture::edbPath() const
{
    return m_dir.filePath(u"pic.edb"_s);
}

QString StoreFixture::edtPath() const
{
    return m_dir.filePath(u"pic.EDT"_s);
}

std::vector<Record> StoreFixture::records(int count)
{
    std::vector<Record> made;
    for (int i = 1; i <= count; ++i)
        made.push_back({u"r%1"_s.arg(i), u"c%1"_s.arg(i % 3), randomBytes(100 + i, unsigned(i))});
    return made;
}

void StoreFixture::makeStore(PictureStore &store, const std::vector<Record> &content)
{
    const auto opened = store.open(edbPath());
    ASSERT_TRUE(opened) << describe(opened.error());
    ASSERT_EQ(*opened, PictureStore::Opened::Created);
    const auto appended = store.append(content);
    ASSERT_TRUE(appended) << describe(appended.error());
}

std::vector<Record> StoreFixture::reopened()
{
    PictureStore store;
    const auto opened = store.open(edbPath());
    EXPECT_TRUE(opened) << (opened ? std::string() : describe(opened.error()));
    return contentOf(store);
}
