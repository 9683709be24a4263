#include "LibraryRecovery.h"

#include "MessageBox.h"
#include "PictureStore.h"
#include "ProgramDirectory.h"
#include "ProgressDialog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

using namespace Qt::StringLiterals;

namespace {

const QString Question = u"图片库无法打开：%1。\r\n\r\nBAK 文件夹中有一份图片库的备份副本（%2 张图片，备份于 %3）。"
                         "要用这份副本恢复图片库吗？\r\n\r\n损坏的文件会改名为“*%4”保留，不会删除。"_s;
const QString Failed = u"图片库未能从 BAK 文件夹恢复：%1。\r\n\r\n损坏的文件已放回原处，未作改动。"_s;
const QString Title = u"恢复图片库"_s;
const QString CopyLabel = u"正在从 BAK 文件夹恢复图片库……"_s;

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
    const QString suffix = u".damaged-"_s + QDateTime::currentDateTime().toString(u"yyyyMMdd-HHmmss"_s);
    const QString when = QLocale(QLocale::Chinese, QLocale::China).toString(backedUp, QLocale::ShortFormat);
    const int answer = messageBox(Question.arg(reason).arg(copy.count()).arg(when, suffix),
                                  MessageBoxFlags::YesNo | MessageBoxFlags::IconExclamation
                                      | MessageBoxFlags::DefaultButton2,
                                  Title);
    if (answer != IDYES)
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
    std::expected<void, QString> copied = std::unexpected(u"损坏的文件无法改名"_s);
    if (cleared) {
        ProgressDialog progress(CopyLabel);
        copied = copy.copyTo(edbPath, [&progress](qint64 done, qint64 total) { return progress.step(done, total); });
    }
    if (copied)
        return Recovery::Restored;
    for (const QString &file : kept)
        QFile::rename(file + suffix, file);
    messageBox(Failed.arg(copied.error()), MessageBoxFlags::IconStop, u"错误"_s);
    return Recovery::Failed;
}
