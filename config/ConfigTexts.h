#pragma once

#include <QString>

// The reasons the file helpers give, for the windows to show.
namespace ConfigText {
inline const QString CannotWrite = QStringLiteral("文件无法写入，可能没有写入权限或磁盘已满");
inline const QString FolderMissing = QStringLiteral("目标文件夹不存在");
inline const QString FolderInTheWay = QStringLiteral("已有同名的文件夹");
inline const QString CannotRead = QStringLiteral("文件无法读取");
}
