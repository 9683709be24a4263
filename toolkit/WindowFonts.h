#pragma once

#include <QFont>

// The Windows fonts the windows are drawn for, with the CJK fonts of other
// systems behind them so that Chinese renders wherever SimSun or LiSu is
// missing.
QFont simSunFont(int pixelSize = 12);
QFont liSuFont(int pixelSize);
