#include "mainwindow/PictureOperations.h"

#include "config/AtomicFile.h"
#include "config/DataFolder.h"
#include "mainwindow/MainWindowLog.h"
#include "mainwindow/MainWindowTexts.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PictureFile.h"
#include "mainwindow/PictureFileName.h"
#include "mainwindow/PictureFolder.h"
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

PictureOperations::PictureOperations(MainWindow &window, PictureStore &store)
    : QObject(&window)
    , m_window(window)
    , m_store(store)
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
        std::expected<QByteArray, QString> bytes = readPictureFile(path, m_store.pictureSizeLimit());
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
        if (const auto added = m_store.append({file.name, file.category, std::move(*bytes)}); !added) {
            notAdded(path, added.error(), MainWindowText::AddFailed.arg(added.error()));
            continue;
        }
        lastAdded = m_store.count();
    }
    progress.reset();
    if (problems.size() == 1 && paths.size() == 1)
        reportError(problems.constFirst());
    else if (!problems.isEmpty())
        reportError(MainWindowText::SomeNotAdded.arg(problems.size()).arg(problems.join(u"\r\n"_s)));
    if (lastAdded > 0)
        m_window.showRecordAfterChange(lastAdded);
}

PictureOperations::AddDecision PictureOperations::mayAdd(const QString &path, const QByteArray &bytes)
{
    // Pictures stored by an earlier build are fingerprinted once, with
    // progress when there are many; a cancel there cancels the add.
    std::optional<ProgressDialog> progress;
    bool cancelled = false;
    const auto same = m_store.findSamePicture(bytes, [&](qint64 done, qint64 total) {
        if (!progress && total > ManyFiles)
            progress.emplace(MainWindowText::FingerprintingLabel);
        cancelled = progress && !progress->step(done, total);
        return !cancelled;
    });
    if (cancelled)
        return AddDecision::Cancel;
    if (!same) {
        qCWarning(lcMainWindow).noquote() << "no search for the same picture:" << same.error();
        return AddDecision::Add;
    }
    if (!*same)
        return AddDecision::Add;
    const QMessageBox::StandardButton answer =
        messageBox(MainWindowText::AlreadyInLibrary.arg(QFileInfo(path).fileName(), m_store.name(**same)),
                   MessageKind::YesNoWarning, MainWindowText::Add);
    return answer == QMessageBox::Yes ? AddDecision::Add : AddDecision::Skip;
}

void PictureOperations::replace()
{
    const int record = m_window.selectedRecord();
    if (record == 0)
        return;
    const FileDialogRequest dialog{.kind = FileDialogKind::Open,
                                   .title = MainWindowText::ReplaceTitle,
                                   .filter = categoryFilter(m_window.currentCategory()),
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
    const auto replaced = m_store.replacePicture(record, std::move(*bytes), category);
    if (!replaced) {
        reportError(MainWindowText::ReplaceFailed.arg(replaced.error()));
        return;
    }
    m_window.showRecordAfterChange(record);
}

void PictureOperations::rename()
{
    const int record = m_window.selectedRecord();
    if (record == 0)
        return;
    const QString name = withoutSpaces(m_window.typedName());
    if (name.isEmpty())
        return;
    if (const auto renamed = m_store.rename(record, name); !renamed) {
        reportError(MainWindowText::RenameFailed.arg(renamed.error()));
        return;
    }
    m_window.showRecordAfterChange(record);
}

void PictureOperations::deletePicture()
{
    const int record = m_window.selectedRecord();
    if (record == 0)
        return;
    if (messageBox(MainWindowText::DeleteQuestion, MessageKind::OkCancelQuestion, MainWindowText::DeleteTitle)
        != QMessageBox::Ok)
        return;
    if (const auto removed = m_store.remove(record); !removed) {
        reportError(MainWindowText::DeleteFailed.arg(removed.error()));
        return;
    }
    m_window.showRecordAfterChange(record);
}

void PictureOperations::exportPicture()
{
    const int record = m_window.selectedRecord();
    const QString typedName = m_window.typedName();
    if (record == 0 || withoutSpaces(typedName).isEmpty())
        return;
    const QString category = m_window.currentCategory();
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
    const std::expected<QByteArray, QString> bytes = m_store.picture(record);
    const std::expected<void, QString> written =
        bytes ? writeFileAtomically(target, *bytes) : std::unexpected(bytes.error());
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
    std::expected<QByteArray, QString> bytes = readPictureFile(path, m_store.pictureSizeLimit());
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
