#include "store/PairStamp.h"

#include "store/SqliteDatabase.h"
#include "store/SqliteStatement.h"

#include <QRandomGenerator>

#include <array>

namespace {

constexpr const char *CreateStamps = "CREATE TABLE IF NOT EXISTS main.pair_stamp(stamp BLOB NOT NULL);"
                                     "CREATE TABLE IF NOT EXISTS edt.pair_stamp(stamp BLOB NOT NULL);"
                                     "DELETE FROM main.pair_stamp;"
                                     "DELETE FROM edt.pair_stamp;";
constexpr const char *InsertRowsStamp = "INSERT INTO main.pair_stamp(stamp) VALUES(?1)";
constexpr const char *InsertBytesStamp = "INSERT INTO edt.pair_stamp(stamp) VALUES(?1)";
constexpr const char *SelectStampTables = "SELECT (SELECT count(*) FROM main.sqlite_master WHERE name = 'pair_stamp')"
                                          " + 2 * (SELECT count(*) FROM edt.sqlite_master WHERE name = 'pair_stamp')";
constexpr const char *SelectStamps = "SELECT (SELECT stamp FROM main.pair_stamp), (SELECT stamp FROM edt.pair_stamp)";
constexpr int StampBytes = 16;

}

std::expected<PairStamping, StoreError> pairStamping(SqliteDatabase &db)
{
    const std::expected<qint64, StoreError> tables = db.scalar(SelectStampTables);
    if (!tables)
        return std::unexpected(tables.error());
    if (*tables == 0)
        return PairStamping::Unstamped;
    // Both files have the table (1 + 2), or they are no pair.
    if (*tables != 3)
        return PairStamping::Unpaired;
    auto statement = db.statement(SelectStamps);
    if (!statement)
        return std::unexpected(statement.error());
    const std::expected<bool, StoreError> row = (*statement)->next();
    if (!row)
        return std::unexpected(row.error());
    const bool paired = *row && (*statement)->columnBlob(0).size() == StampBytes
        && (*statement)->columnBlob(0) == (*statement)->columnBlob(1);
    (*statement)->reset();
    return paired ? PairStamping::Paired : PairStamping::Unpaired;
}

std::expected<void, StoreError> writePairStamp(SqliteDatabase &db)
{
    std::array<quint32, StampBytes / 4> words;
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    const QByteArrayView stamp(reinterpret_cast<const char *>(words.data()), StampBytes);
    if (auto created = db.exec(CreateStamps); !created)
        return created;
    if (auto inserted = db.run(InsertRowsStamp, stamp); !inserted)
        return inserted;
    return db.run(InsertBytesStamp, stamp);
}
