#pragma once

#include <QFont>
#include <QString>

// The Windows fonts the windows are drawn for. Where they are missing, free
// faces of the same kind that Debian packages stand in (a Ming face for
// SimSun; for LiSu, as Debian has no clerical-script face, a Kai face), and
// behind those the CJK fonts of other systems, so that Chinese renders
// everywhere.
inline const QString SimSunStandIn = QStringLiteral("AR PL UMing CN");
inline const QString LiSuStandIn = QStringLiteral("AR PL UKai CN");

QFont simSunFont(int pixelSize = 12);
QFont liSuFont(int pixelSize);
