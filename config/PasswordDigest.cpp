#include "PasswordDigest.h"

#include "GbkText.h"

#include <openssl/evp.h>

QString passwordDigest(const QString &password)
{
    const QByteArray bytes = toGbk(password);
    QByteArray digest(EVP_MAX_MD_SIZE, Qt::Uninitialized);
    unsigned int size = 0;
    if (EVP_Digest(bytes.constData(), std::size_t(bytes.size()), reinterpret_cast<unsigned char *>(digest.data()),
                   &size, EVP_md5(), nullptr) != 1)
        return {};
    digest.truncate(size);
    return QString::fromLatin1(digest.toHex());
}

bool passwordMatches(const QString &password, const QString &storedDigest)
{
    const QString digest = passwordDigest(password);
    return !digest.isEmpty() && digest == storedDigest;
}
