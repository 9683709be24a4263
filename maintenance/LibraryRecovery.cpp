#include "maintenance/LibraryRecovery.h"

#include "maintenance/MaintenanceLog.h"
#include "maintenance/MaintenanceTexts.h"
#include "store/PictureStore.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ProgramDirectory.h"
#include "toolkit/ProgressDialog.h"
#include "toolkit/ToolkitTexts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

// The store's files, with a journal that belongs to them.
QStringList libraryFiles(const QString &edbPath)
{
    const QString edtPath = PictureStore::companionPath(edbPath);
    return {edbPath, edtPath, edbPath + u"-journal"_s, edtPath + u"-journal"_s};
}

}

Recovery offerLibraryFromBak(const QString &edbPath, const QString &reason)
{
    const QString bakPath = QDir(programDirectory()).filePath(u"BAK/pic.edb"_s);
    // Opening creates a store where none is: only existing copies count.
    if (!QFileInfo(bakPath).isFile() || !QFileInfo(PictureStore::companionPath(bakPath)).isFile())
        return Recovery::NoCopy;
    PictureStore copy;
    if (!copy.open(bakPath))
        return Recovery::NoCopy;

    const QDateTime backedUp = QFileInfo(bakPath).lastModified();
    const QString suffix =
        MaintenanceText::DamagedSuffix + QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    const QString when = QLocale(QLocale::Chinese, QLocale::China).toString(backedUp, QLocale::ShortFormat);
    const MessageAnswer answer = messageBox(MaintenanceText::RecoveryQuestion.arg(reason).arg(copy.count()).arg(when, suffix),
                                            MessageKind::YesNoWarning, MaintenanceText::RecoveryTitle);
    if (answer != MessageAnswer::Yes)
        return Recovery::Declined;

    QStringList kept;
    bool cleared = true;
    for (const QString &file : libraryFiles(edbPath)) {
        if (!QFileInfo::exists(file))
            continue;
        if (QFile::rename(file, file + suffix))
            kept << file;
        else
            cleared = false;
    }
    std::expected<void, QString> copied = std::unexpected(MaintenanceText::DamagedNotMoved);
    if (cleared) {
        ProgressDialog progress(MaintenanceText::RecoveryLabel);
        copied = copy.copyTo(edbPath, [&progress](qint64 done, qint64 total) { return progress.step(done, total); });
    }
    if (copied) {
        qCInfo(lcMaintenance) << "the library came back from its BAK copy; the damaged files end in" << suffix;
        return Recovery::Restored;
    }
    qCWarning(lcMaintenance).noquote() << "the library could not come back from BAK:" << copied.error();
    for (const QString &file : kept)
        QFile::rename(file + suffix, file);
    messageBox(MaintenanceText::RecoveryFailed.arg(copied.error()), MessageKind::Stop, ToolkitText::ErrorTitle);
    return Recovery::Failed;
}
