#include "config/PasswordDigest.h"

#include "config/GbkText.h"

#include <QCryptographicHash>

QString passwordDigest(const QString &password)
{
    return QString::fromLatin1(QCryptographicHash::hash(toGbk(password), QCryptographicHash::Md5).toHex());
}

bool passwordMatches(const QString &password, const QString &storedDigest)
{
    return passwordDigest(password) == storedDigest;
}
