#include "maintenance/FileIdentity.h"

#include <filesystem>

bool isSameFile(const QString &first, const QString &second)
{
    std::error_code error;
    const bool same = std::filesystem::equivalent(std::filesystem::path(first.toStdU16String()),
                                                  std::filesystem::path(second.toStdU16String()), error);
    return same && !error;
}
