#pragma once

#include <QString>

#include <memory>

class QProgressDialog;

// Progress of a long piece of work, shown in a modal dialog with a cancel
// button once the work has taken more than a moment. Under a responder the
// responder sees every step and may cancel.
class ProgressDialog
{
public:
    explicit ProgressDialog(const QString &label);
    ~ProgressDialog();
    ProgressDialog(const ProgressDialog &) = delete;
    ProgressDialog &operator=(const ProgressDialog &) = delete;

    // Reports done of total steps; false once the user has cancelled.
    bool step(qint64 done, qint64 total);

private:
    QString m_label;
    std::unique_ptr<QProgressDialog> m_dialog;
};
