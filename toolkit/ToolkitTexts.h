#pragma once

#include <QString>

// The texts the toolkit's own dialogs show, and the title every module gives
// its error messages.
namespace ToolkitText {
inline const QString Ok = QStringLiteral("确定");
inline const QString Cancel = QStringLiteral("取消");
inline const QString Yes = QStringLiteral("是(&Y)");
inline const QString No = QStringLiteral("否(&N)");
inline const QString ErrorTitle = QStringLiteral("错误");
}
