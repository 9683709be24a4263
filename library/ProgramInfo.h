#pragma once

#include <QString>

// Who made the program and how to reach them, as the windows show it.
namespace ProgramInfo {
inline const QString Title = QStringLiteral(" Lumbra v2008.3");
inline const QString Studio = QStringLiteral("Vostrand");
inline const QString ContactAddress = QStringLiteral("lumbra@vostrand.example");
}
