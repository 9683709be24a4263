#pragma once

// Ends the program with exit code 0: every running event loop returns, the
// nested ones of modal windows and message boxes included, and the owners
// of the program's state release it on their way out.
void exitProgram();

// True once exitProgram ran; the entry checks it before it starts the
// event loop, since an exit asked for during start-up finds no loop to end.
bool exitRequested();
