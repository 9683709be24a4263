#include "toolkit/ProgressDialog.h"

#include "toolkit/DialogResponder.h"

#include <QApplication>
#include <QProgressDialog>

using namespace Qt::StringLiterals;

namespace {

// Steps are scaled to this range, which an int always holds.
constexpr int Range = 1000;

}

ProgressDialog::ProgressDialog(const QString &label)
    : m_label(label)
{
    if (DialogResponder::installed())
        return;
    // Qt's own cancel button, captioned by Qt's translation.
    m_dialog = std::make_unique<QProgressDialog>(QApplication::activeWindow());
    m_dialog->setLabelText(label);
    m_dialog->setRange(0, Range);
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setMinimumDuration(500);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
}

ProgressDialog::~ProgressDialog() = default;

bool ProgressDialog::step(qint64 done, qint64 total)
{
    if (DialogResponder *responder = DialogResponder::installed())
        return responder->continueProgress(m_label, done, total);
    // A modal progress dialog lets the event loop run here.
    m_dialog->setValue(total > 0 ? int(done * Range / total) : Range);
    return !m_dialog->wasCanceled();
}
