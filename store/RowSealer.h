#pragma once

#include "store/SqliteStatement.h"
#include "store/StoreError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <expected>
#include <memory>

class LibraryKey;
class SealedValue;

// How a library keeps the values of its rows. A plain library keeps them
// as they are and fingerprints pictures with SHA-256. A sealed one seals
// each value under the library key, bound to its field and row
// ("lumbra/name/<id>"), so that a value moved to another row or field
// fails to open, and fingerprints pictures with the key's HMAC. One
// instance serves one thread: it keeps its cipher context.
class RowSealer
{
public:
    enum class Field { Name, Category, Picture };

    // Plain without a key.
    explicit RowSealer(std::shared_ptr<const LibraryKey> key = {});
    ~RowSealer();
    RowSealer(RowSealer &&) noexcept;
    RowSealer &operator=(RowSealer &&) noexcept;

    bool seals() const;
    const std::shared_ptr<const LibraryKey> &key() const;

    // The value as stored: the plain bytes themselves without a key.
    std::expected<QByteArray, StoreError> seal(Field field, qint64 id, const QByteArray &plain);
    // A name or category as stored: text without a key, a sealed blob with one.
    std::expected<SqliteValue, StoreError> storedText(Field field, qint64 id, const QString &text);
    // The plain value of a sealed one; SealBroken, naming the row, when it
    // does not open here.
    std::expected<QByteArray, StoreError> open(Field field, qint64 id, QByteArrayView sealed);

    QByteArray fingerprint(const QByteArray &bytes) const;

private:
    std::shared_ptr<const LibraryKey> m_key;
    std::unique_ptr<SealedValue> m_sealer;
};
