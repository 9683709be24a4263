#pragma once

#include <QString>

// The texts the toolkit shows of its own, and the title every module gives
// its error messages. Qt's own buttons speak Chinese through Qt's
// translation (see QtChineseTexts.h).
namespace ToolkitText {
inline const QString ErrorTitle = QStringLiteral("错误");
}
