#include "toolkit/ModalDialog.h"

#include "toolkit/DialogResponder.h"

#include <QDialog>

int execDialog(QDialog &dialog)
{
    if (DialogResponder *responder = DialogResponder::installed()) {
        if (const std::optional<int> result = responder->answerDialog(dialog))
            return *result;
    }
    return dialog.exec();
}
