#include "mainwindow/PictureOperations.h"

#include "config/AtomicFile.h"
#include "config/DataFolder.h"
#include "mainwindow/MainWindowLog.h"
#include "mainwindow/MainWindowTexts.h"
#include "mainwindow/LibraryModel.h"
#include "mainwindow/PictureFile.h"
#include "mainwindow/PictureFileName.h"
#include "mainwindow/PictureFolder.h"
#include "reasons/ReasonSentence.h"
#include "store/PictureStore.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ProgramDirectory.h"
#include "toolkit/ProgressDialog.h"
#include "toolkit/ToolkitTexts.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// More files than this show progress.
constexpr qsizetype ManyFiles = 3;

// Only ASCII letters change, as everywhere in the program's texts.
QString asciiUpper(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return upper;
}

// Offers the files of one category, e.g. "JPG图片(*.jpg)|*.jpg". A picture
// without a category was imported from a file without an extension, so
// every file is offered.
QString categoryFilter(const QString &category)
{
    if (category.isEmpty())
        return MainWindowText::AllFilesFilter;
    return MainWindowText::CategoryFilter.arg(asciiUpper(category), category);
}

// Removes ordinary and ideographic spaces, inside the text too.
QString withoutSpaces(QString text)
{
    text.remove(u' ');
    text.remove(QChar(0x3000));
    return text;
}

}

PictureOperations::PictureOperations(LibraryModel &library, QObject *parent)
    : QObject(parent)
    , m_library(library)
{
}

void PictureOperations::add()
{
    const FileDialogRequest dialog{.kind = FileDialogKind::Open,
                                   .title = MainWindowText::AddTitle,
                                   .filter = MainWindowText::AddFilter,
                                   .multiple = true,
                                   .folder = pictureFolder()};
    const std::optional<QStringList> paths = showFilesDialog(dialog);
    if (!paths || paths->isEmpty())
        return;
    rememberPictureFolder(paths->constLast());
    addFiles(*paths);
}

void PictureOperations::addFiles(const QStringList &paths)
{
    std::optional<ProgressDialog> progress;
    if (paths.size() > ManyFiles)
        progress.emplace(MainWindowText::AddingLabel);
    // One file gets the full message; many get one line each in one message.
    QStringList problems;
    const auto notAdded = [&](const QString &path, const QString &reason, const QString &single) {
        problems << (paths.size() == 1 ? single : MainWindowText::NotAddedLine.arg(QDir::toNativeSeparators(path), reason));
    };
    int lastAdded = 0;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (progress && !progress->step(i, paths.size()))
            break;
        const QString &path = paths[i];
        std::expected<QByteArray, QString> bytes = readPictureFile(path, m_library.store().pictureSizeLimit());
        if (!bytes) {
            notAdded(path, bytes.error(), MainWindowText::FileUnreadable.arg(QDir::toNativeSeparators(path), bytes.error()));
            continue;
        }
        const AddDecision decision = mayAdd(path, *bytes);
        if (decision == AddDecision::Cancel)
            break;
        if (decision == AddDecision::Skip)
            continue;
        const PictureFileName file = PictureFileName::fromPath(path);
        if (const auto added = withReasonSentence(m_library.append({file.name, file.category, std::move(*bytes)})); !added) {
            notAdded(path, added.error(), MainWindowText::AddFailed.arg(added.error()));
            continue;
        }
        lastAdded = m_library.store().count();
    }
    progress.reset();
    if (problems.size() == 1 && paths.size() == 1)
        reportError(problems.constFirst());
    else if (!problems.isEmpty())
        reportError(MainWindowText::SomeNotAdded.arg(problems.size()).arg(problems.join(u"\r\n"_s)));
    if (lastAdded > 0)
        m_library.select(lastAdded);
}

PictureOperations::AddDecision PictureOperations::mayAdd(const QString &path, const QByteArray &bytes)
{
    // Pictures stored by an earlier build are fingerprinted once, with
    // progress when there are many; a cancel there cancels the add.
    std::optional<ProgressDialog> progress;
    bool cancelled = false;
    const auto same = m_library.store().findSamePicture(bytes, [&](qint64 done, qint64 total) {
        if (!progress && total > ManyFiles)
            progress.emplace(MainWindowText::FingerprintingLabel);
        cancelled = progress && !progress->step(done, total);
        return !cancelled;
    });
    if (cancelled)
        return AddDecision::Cancel;
    if (!same) {
        qCWarning(lcMainWindow).noquote() << "no search for the same picture:" << reasonSentence(same.error());
        return AddDecision::Add;
    }
    if (!*same)
        return AddDecision::Add;
    const QMessageBox::StandardButton answer =
        messageBox(MainWindowText::AlreadyInLibrary.arg(QFileInfo(path).fileName(), m_library.store().name(**same)),
                   MessageKind::YesNoWarning, MainWindowText::Add);
    return answer == QMessageBox::Yes ? AddDecision::Add : AddDecision::Skip;
}

void PictureOperations::replace(int record)
{
    if (!m_library.store().isRecord(record))
        return;
    const FileDialogRequest dialog{.kind = FileDialogKind::Open,
                                   .title = MainWindowText::ReplaceTitle,
                                   .filter = categoryFilter(m_library.store().category(record)),
                                   .folder = pictureFolder()};
    const std::optional<QString> path = showFileDialog(dialog);
    if (!path)
        return;
    rememberPictureFolder(*path);
    std::optional<QByteArray> bytes = readChosenFile(*path);
    if (!bytes)
        return;
    // The picture takes the category of its new file, so that an export
    // names the new bytes by what they are.
    const QString category = PictureFileName::fromPath(*path).category;
    const auto replaced = withReasonSentence(m_library.replacePicture(record, std::move(*bytes), category));
    if (!replaced) {
        reportError(MainWindowText::ReplaceFailed.arg(replaced.error()));
        return;
    }
    m_library.select(record);
}

void PictureOperations::rename(int record, const QString &typedName)
{
    const QString name = withoutSpaces(typedName);
    if (!m_library.store().isRecord(record) || name.isEmpty())
        return;
    if (const auto renamed = withReasonSentence(m_library.rename(record, name)); !renamed) {
        reportError(MainWindowText::RenameFailed.arg(renamed.error()));
        return;
    }
    m_library.select(record);
}

void PictureOperations::deletePicture(int record)
{
    if (!m_library.store().isRecord(record))
        return;
    if (messageBox(MainWindowText::DeleteQuestion, MessageKind::OkCancelQuestion, MainWindowText::DeleteTitle)
        != QMessageBox::Ok)
        return;
    if (const auto removed = withReasonSentence(m_library.remove(record)); !removed) {
        reportError(MainWindowText::DeleteFailed.arg(removed.error()));
        return;
    }
    // The record that moved into its place, or the new last one.
    m_library.select(std::min(record, m_library.store().count()));
}

void PictureOperations::exportPicture(int record, const QString &typedName)
{
    if (!m_library.store().isRecord(record) || withoutSpaces(typedName).isEmpty())
        return;
    const QString category = m_library.store().category(record);
    // The question about replacing a file is asked below, about the file
    // really written: the chosen name with the category added.
    const FileDialogRequest dialog{.kind = FileDialogKind::Save,
                                   .title = MainWindowText::ExportTitle,
                                   .initialName = typedName,
                                   .filter = categoryFilter(category),
                                   .confirmOverwrite = false,
                                   .folder = pictureFolder()};
    const std::optional<QString> path = showFileDialog(dialog);
    if (!path)
        return;
    rememberPictureFolder(*path);
    // The category is always added, also to a name typed with an extension;
    // a picture without a category is written under the chosen name as is.
    const QString target = category.isEmpty() ? *path : *path + u'.' + category;
    if (!mayWrite(target))
        return;
    const std::expected<QByteArray, QString> bytes = withReasonSentence(m_library.store().picture(record));
    const std::expected<void, QString> written =
        bytes ? withReasonSentence(writeFileAtomically(target, *bytes)) : std::unexpected(bytes.error());
    if (!written)
        reportError(MainWindowText::ExportFailed.arg(QDir::toNativeSeparators(target), written.error()));
}

bool PictureOperations::mayWrite(const QString &target)
{
    if (const std::optional<QString> held = DataFolder(programDirectory()).heldFile(target)) {
        reportError(MainWindowText::ExportToProgramFile.arg(QDir::toNativeSeparators(*held)));
        return false;
    }
    if (!QFileInfo(target).isFile())
        return true;
    return messageBox(MainWindowText::ReplaceFileQuestion.arg(QDir::toNativeSeparators(target)),
                      MessageKind::YesNoWarning, MainWindowText::Export)
        == QMessageBox::Yes;
}

std::optional<QByteArray> PictureOperations::readChosenFile(const QString &path)
{
    std::expected<QByteArray, QString> bytes = readPictureFile(path, m_library.store().pictureSizeLimit());
    if (bytes)
        return std::move(*bytes);
    reportError(MainWindowText::FileUnreadable.arg(QDir::toNativeSeparators(path), bytes.error()));
    return std::nullopt;
}

void PictureOperations::reportError(const QString &text)
{
    qCWarning(lcMainWindow).noquote() << text;
    messageBox(text, MessageKind::Stop, ToolkitText::ErrorTitle);
}
