#pragma once

#include <QString>

// The HTML of the Help and About panels that the main window's balloon tip
// shows: a dark header row with the title and a close mark, a light-yellow
// body, and the date line.
QString helpPanelHtml();
QString aboutPanelHtml();
