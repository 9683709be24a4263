#pragma once

#include "TestProgram.h"
#include "mainwindow/MainWindow.h"

// The main window of a test's program, shown and with its library open, as
// the window flow leaves it after a log-in.
class OpenMainWindow : public MainWindow
{
public:
    explicit OpenMainWindow(const TestProgram &program)
        : MainWindow(program.session())
    {
        show();
        openLibrary();
    }
};
