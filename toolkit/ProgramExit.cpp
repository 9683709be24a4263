#include "toolkit/ProgramExit.h"

#include "toolkit/DialogResponder.h"

#include <QCoreApplication>

namespace {
bool exitWasRequested = false;
}

void exitProgram()
{
    // Under a responder the program's run is a test's: it hears of the exit
    // and the test's own event loops go on.
    if (DialogResponder *responder = DialogResponder::installed()) {
        responder->programExited();
        return;
    }
    exitWasRequested = true;
    QCoreApplication::exit(0);
}

bool exitRequested()
{
    return exitWasRequested;
}
