#include "AtomicFileCopy.h"

#include <QFile>
#include <QSaveFile>

#include <filesystem>

bool copyFileAtomically(const QString &source, const QString &target)
{
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = input.readAll();
    if (input.error() != QFileDevice::NoError)
        return false;
    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly))
        return false;
    if (output.write(content) != content.size()) {
        output.cancelWriting();
        return false;
    }
    return output.commit();
}

bool isSameFile(const QString &first, const QString &second)
{
    std::error_code error;
    const bool same = std::filesystem::equivalent(std::filesystem::path(first.toStdU16String()),
                                                  std::filesystem::path(second.toStdU16String()), error);
    return same && !error;
}
