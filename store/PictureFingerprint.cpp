#include "store/PictureFingerprint.h"

#include "store/SqliteDatabase.h"

#include <openssl/evp.h>

#include <cstdlib>

namespace {

constexpr const char *PutFingerprint = "INSERT OR REPLACE INTO main.picture_digests(id, digest) VALUES(?1, ?2)";

}

QByteArray pictureFingerprint(const QByteArray &bytes)
{
    // OpenSSL's SHA-256 runs on the processor's SHA instructions: about ten
    // times as fast as Qt's on a picture of a few megabytes.
    QByteArray digest(32, Qt::Uninitialized);
    if (EVP_Digest(bytes.constData(), std::size_t(bytes.size()), reinterpret_cast<unsigned char *>(digest.data()),
                   nullptr, EVP_sha256(), nullptr) != 1)
        std::abort();
    return digest;
}

std::expected<void, StoreError> putPictureFingerprint(SqliteDatabase &db, qint64 id, const QByteArray &fingerprint)
{
    return db.run(PutFingerprint, id, QByteArrayView(fingerprint));
}
