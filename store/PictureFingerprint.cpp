#include "store/PictureFingerprint.h"

#include "store/SqliteDatabase.h"

#include <QCryptographicHash>

namespace {

constexpr const char *PutFingerprint = "INSERT OR REPLACE INTO main.picture_digests(id, digest) VALUES(?1, ?2)";

}

QByteArray pictureFingerprint(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

std::expected<void, StoreError> putPictureFingerprint(SqliteDatabase &db, qint64 id, const QByteArray &fingerprint)
{
    return db.run(PutFingerprint, id, QByteArrayView(fingerprint));
}
