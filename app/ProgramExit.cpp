#include "ProgramExit.h"

#include "DialogResponder.h"

#include <QCoreApplication>

namespace {
bool exitWasRequested = false;
}

void exitProgram()
{
    if (DialogResponder *responder = DialogResponder::installed())
        responder->programExited();
    exitWasRequested = true;
    QCoreApplication::exit(0);
}

bool exitRequested()
{
    return exitWasRequested;
}
