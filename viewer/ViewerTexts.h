#pragma once

#include <QString>

// What the full-screen viewer says.
namespace ViewerText {
inline const QString CountPrefix = QStringLiteral("库内共有");
inline const QString CountSuffix = QStringLiteral("张图片");
inline const QString NumberPrefix = QStringLiteral("图片编号：");
// Shown after the prefix when a step back lands on no name.
inline const QString FirstNumber = QStringLiteral("0001");
inline const QString Back = QStringLiteral("返回");
inline const QString Forward = QStringLiteral("前进");
inline const QString Exit = QStringLiteral("退出");
}
