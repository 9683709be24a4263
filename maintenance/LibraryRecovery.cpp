#include "maintenance/LibraryRecovery.h"

#include "config/DataFolder.h"
#include "maintenance/MaintenanceLog.h"
#include "maintenance/MaintenanceTexts.h"
#include "reasons/ReasonSentence.h"
#include "store/PictureStore.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ProgramDirectory.h"
#include "toolkit/ProgressDialog.h"
#include "toolkit/ToolkitTexts.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

using namespace Qt::StringLiterals;

Recovery offerLibraryFromBak(const QString &edbPath, const StoreError &failure)
{
    if (failure.problem() != LibraryProblem::Damaged)
        return Recovery::NotOffered;
    const QString bakPath = DataFolder(programDirectory()).bakLibraryPath();
    PictureStore copy;
    if (!copy.open(bakPath, LibraryFiles::Creation::Never))
        return Recovery::NotOffered;

    const QDateTime backedUp = QFileInfo(bakPath).lastModified();
    const QString suffix = DataFolder::DamagedSuffix + QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    const QString when = QLocale(QLocale::Chinese, QLocale::China).toString(backedUp, QLocale::ShortFormat);
    const QMessageBox::StandardButton answer =
        messageBox(MaintenanceText::RecoveryQuestion.arg(reasonSentence(failure)).arg(copy.storedCount()).arg(when, suffix),
                   MessageKind::YesNoWarning, MaintenanceText::RecoveryTitle);
    if (answer != QMessageBox::Yes)
        return Recovery::Declined;

    ProgressDialog progress(MaintenanceText::RecoveryLabel);
    const std::expected<void, QString> copied = withReasonSentence(copy.copyTo(
        edbPath, [&progress](qint64 done, qint64 total) { return progress.step(done, total); }, suffix));
    if (copied) {
        qCInfo(lcMaintenance) << "the library came back from its BAK copy; the damaged files end in" << suffix;
        return Recovery::Restored;
    }
    qCWarning(lcMaintenance).noquote() << "the library could not come back from BAK:" << copied.error();
    messageBox(MaintenanceText::RecoveryFailed.arg(copied.error()), MessageKind::Stop, ToolkitText::ErrorTitle);
    return Recovery::Failed;
}
