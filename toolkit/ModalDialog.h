#pragma once

class QDialog;

// Runs a dialog of the program's own modally and returns its result; under
// a responder the responder may answer it instead.
int execDialog(QDialog &dialog);
