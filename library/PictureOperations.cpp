#include "PictureOperations.h"

#include "AtomicFile.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "PictureFile.h"
#include "PictureFileName.h"
#include "PictureStore.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QString AddFilter = u"图片文件[*.bmp;*.bmp;*.jpg;*.gif]|*.bmp;*.jpg;*.gif;*.ico|所有文件[*.*]|*.*"_s;
const QString AllFilesFilter = u"所有文件[*.*]|*.*"_s;
const QString AddTitle = u"请选择要导入的图片"_s;
const QString ReplaceTitle = u"请选择新的图片"_s;
const QString ExportTitle = u"请选择保存位置"_s;
const QString DeleteQuestion = u"删除图片将不可恢复。\r\n\r\n继续吗？"_s;
const QString DeleteTitle = u"真的删除吗？"_s;
const QString ReplaceFileTitle = u"导出图片"_s;
const QString ErrorTitle = u"错误"_s;

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
        return AllFilesFilter;
    return asciiUpper(category) + u"图片(*."_s + category + u")|*."_s + category;
}

// Removes ordinary and ideographic spaces, inside the text too.
QString withoutSpaces(QString text)
{
    text.remove(u' ');
    text.remove(QChar(0x3000));
    return text;
}

QString quoted(const QString &path)
{
    return u"“"_s + QDir::toNativeSeparators(path) + u"”"_s;
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
    const std::optional<QString> path = pickFile(AddFilter, {}, FileDialogKind::Open, AddTitle);
    if (!path)
        return;
    std::optional<QByteArray> bytes = readChosenFile(*path);
    if (!bytes)
        return;
    const PictureFileName file = PictureFileName::fromPath(*path);
    const auto added = m_store.append({file.name, file.category, std::move(*bytes)});
    if (!added) {
        reportError(u"图片未能存入图片库：%1。\r\n\r\n图片库未作改动。"_s.arg(added.error()));
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
        pickFile(categoryFilter(m_window.currentCategory()), {}, FileDialogKind::Open, ReplaceTitle);
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
        reportError(u"新的图片未能存入图片库：%1。\r\n\r\n原来的图片保持不变。"_s.arg(replaced.error()));
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
        reportError(u"新的图片名未能存入图片库：%1。\r\n\r\n图片名保持不变。"_s.arg(renamed.error()));
        return;
    }
    m_window.showRecordAfterChange(record);
}

void PictureOperations::deletePicture()
{
    const int record = m_window.selectedRecord();
    if (record == 0)
        return;
    if (messageBox(DeleteQuestion, MessageBoxFlags::OkCancel | MessageBoxFlags::IconQuestion, DeleteTitle) != IDOK)
        return;
    if (const auto removed = m_store.remove(record); !removed) {
        reportError(u"图片未能从图片库中删除：%1。\r\n\r\n图片库未作改动。"_s.arg(removed.error()));
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
    FileDialogRequest dialog{FileDialogKind::Save, ExportTitle, typedName, categoryFilter(category), {}};
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
        reportError(u"图片无法导出到"_s + quoted(target) + u"：\r\n"_s + written.error()
                    + u"。\r\n\r\n没有写入任何内容，已有的同名文件保持不变。"_s);
    }
}

bool PictureOperations::mayWrite(const QString &target)
{
    if (!QFileInfo(target).isFile())
        return true;
    return messageBox(quoted(target) + u"已存在。要替换它吗？"_s,
                      MessageBoxFlags::YesNo | MessageBoxFlags::IconExclamation | MessageBoxFlags::DefaultButton2,
                      ReplaceFileTitle)
        == IDYES;
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
    reportError(u"无法读取图片文件"_s + quoted(path) + u"：\r\n"_s + bytes.error() + u"\r\n\r\n图片库未作改动。"_s);
    return std::nullopt;
}

void PictureOperations::reportError(const QString &text)
{
    messageBox(text, MessageBoxFlags::IconStop, ErrorTitle);
}
