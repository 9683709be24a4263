#pragma once

#include <QString>

// The texts the toolkit shows of its own, and the title every module gives
// its error messages. Qt's own buttons speak Chinese through Qt's
// translation (see QtChineseTexts.h).
namespace ToolkitText {
inline const QString ErrorTitle = QStringLiteral("错误");
inline const QString PictureDamaged = QStringLiteral("图片文件已损坏，无法显示。");
inline const QString PictureTooLarge = QStringLiteral("图片太大（%1×%2 像素），无法显示。");
inline const QString PictureTooComplex = QStringLiteral("图片的编码过于复杂，无法显示。");
inline const QString NotAPicture = QStringLiteral("不是可以显示的图片。");
inline const QString PictureUnreadable = QStringLiteral("图片无法读取：%1");
}
