#pragma once

#include <QString>

// The notes shown in place of a picture that cannot be shown.
namespace PictureText {
inline const QString Damaged = QStringLiteral("图片文件已损坏，无法显示。");
inline const QString TooLarge = QStringLiteral("图片太大（%1×%2 像素），无法显示。");
inline const QString TooComplex = QStringLiteral("图片的编码过于复杂，无法显示。");
inline const QString NotAPicture = QStringLiteral("不是可以显示的图片。");
inline const QString Unreadable = QStringLiteral("图片无法读取：%1");
}
