#pragma once

class QTranslator;

// Loads Qt's own Chinese texts into translator and installs it, so that
// what Qt draws itself (the buttons of message boxes and the progress
// dialog, the file dialog, the edit boxes' menus) speaks Chinese like the
// rest of the program; false where Qt's translations are not installed.
bool installQtChineseTexts(QTranslator &translator);
