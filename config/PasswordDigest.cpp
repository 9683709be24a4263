#include "config/PasswordDigest.h"

#include "config/GbkText.h"

#include <QCryptographicHash>
#include <QStringEncoder>

namespace {

QString md5Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

}

QString passwordDigest(const QString &password)
{
    return md5Hex(toGbk(password));
}

bool passwordMatches(const QString &password, const QString &storedDigest)
{
    if (storedDigest.isEmpty())
        return false;
    if (passwordDigest(password) == storedDigest)
        return true;
    // Earlier builds digested GB18030 bytes, which differ from Windows' for
    // a few characters ("€"): their digests keep working.
    QStringEncoder gb18030("GB18030");
    return md5Hex(gb18030.encode(password)) == storedDigest;
}
