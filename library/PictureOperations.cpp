#include "library/PictureOperations.h"

#include "config/AtomicFile.h"
#include "library/LibraryLog.h"
#include "library/LibraryTexts.h"
#include "library/MainWindow.h"
#include "library/PictureFile.h"
#include "library/PictureFileName.h"
#include "store/PictureStore.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ToolkitTexts.h"

#include <QDir>
#include <QFileInfo>


namespace {

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
        return LibraryText::AllFilesFilter;
    return LibraryText::CategoryFilter.arg(asciiUpper(category), category);
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
    const std::optional<QString> path = pickFile(LibraryText::AddFilter, {}, FileDialogKind::Open, LibraryText::AddTitle);
    if (!path)
        return;
    std::optional<QByteArray> bytes = readChosenFile(*path);
    if (!bytes)
        return;
    const PictureFileName file = PictureFileName::fromPath(*path);
    const auto added = m_store.append({file.name, file.category, std::move(*bytes)});
    if (!added) {
        reportError(LibraryText::AddFailed.arg(added.error()));
        return;
    }
    m_window.showRecordAfterChange(m_store.count());
}

void PictureOperations::replace()
{
    const int record = m_window.selectedRecord();
    if (record == 0)
        return;
    const std::optional<QString> path =
        pickFile(categoryFilter(m_window.currentCategory()), {}, FileDialogKind::Open, LibraryText::ReplaceTitle);
    if (!path)
        return;
    std::optional<QByteArray> bytes = readChosenFile(*path);
    if (!bytes)
        return;
    // The picture takes the category of its new file, so that an export
    // names the new bytes by what they are.
    const QString category = PictureFileName::fromPath(*path).category;
    const auto replaced = m_store.replacePicture(record, std::move(*bytes), category);
    if (!replaced) {
        reportError(LibraryText::ReplaceFailed.arg(replaced.error()));
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
        reportError(LibraryText::RenameFailed.arg(renamed.error()));
        return;
    }
    m_window.showRecordAfterChange(record);
}

void PictureOperations::deletePicture()
{
    const int record = m_window.selectedRecord();
    if (record == 0)
        return;
    if (messageBox(LibraryText::DeleteQuestion, MessageKind::OkCancelQuestion, LibraryText::DeleteTitle)
        != MessageAnswer::Ok)
        return;
    if (const auto removed = m_store.remove(record); !removed) {
        reportError(LibraryText::DeleteFailed.arg(removed.error()));
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
    FileDialogRequest dialog{FileDialogKind::Save, LibraryText::ExportTitle, typedName, categoryFilter(category), {}};
    // The question about replacing a file is asked below, about the file
    // really written: the chosen name with the category added.
    dialog.confirmOverwrite = false;
    const std::optional<QString> path = showFileDialog(dialog);
    if (!path)
        return;
    // The category is always added, also to a name typed with an extension;
    // a picture without a category is written under the chosen name as is.
    const QString target = category.isEmpty() ? *path : *path + u'.' + category;
    if (!mayWrite(target))
        return;
    const std::expected<QByteArray, QString> bytes = m_store.picture(record);
    const std::expected<void, QString> written =
        bytes ? writeFileAtomically(target, *bytes) : std::unexpected(bytes.error());
    if (!written) {
        reportError(LibraryText::ExportFailed.arg(QDir::toNativeSeparators(target), written.error()));
    }
}

bool PictureOperations::mayWrite(const QString &target)
{
    if (!QFileInfo(target).isFile())
        return true;
    return messageBox(LibraryText::ReplaceFileQuestion.arg(QDir::toNativeSeparators(target)),
                      MessageKind::YesNoWarning, LibraryText::Export)
        == MessageAnswer::Yes;
}

std::optional<QString> PictureOperations::pickFile(const QString &filter, const QString &initialName,
                                                   FileDialogKind kind, const QString &title)
{
    return showFileDialog(FileDialogRequest{kind, title, initialName, filter, {}});
}

std::optional<QByteArray> PictureOperations::readChosenFile(const QString &path)
{
    std::expected<QByteArray, QString> bytes = readPictureFile(path, m_store.pictureSizeLimit());
    if (bytes)
        return std::move(*bytes);
    reportError(LibraryText::FileUnreadable.arg(QDir::toNativeSeparators(path), bytes.error()));
    return std::nullopt;
}

void PictureOperations::reportError(const QString &text)
{
    qCWarning(lcLibrary).noquote() << text;
    messageBox(text, MessageKind::Stop, ToolkitText::ErrorTitle);
}
