#include "PictureOperations.h"

#include "CheckBoxList.h"
#include "MainWindow.h"
#include "MessageBox.h"
#include "PictureFile.h"
#include "PictureFileName.h"
#include "PictureLabel.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {

const QString AddFilter = u"图片文件[*.bmp;*.bmp;*.jpg;*.gif]|*.bmp;*.jpg;*.gif;*.ico|所有文件[*.*]|*.*"_s;
const QString AllFilesFilter = u"所有文件[*.*]|*.*"_s;
const QString AddTitle = u"请选择要导入的图片"_s;
const QString ReplaceTitle = u"请选择新的图片"_s;
const QString ExportTitle = u"请选择保存位置"_s;
const QString DeleteQuestion = u"删除图片将不可恢复。\r\n\r\n继续吗？"_s;
const QString DeleteTitle = u"真的删除吗？"_s;
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

QString readProblemText(PictureFile::Problem problem)
{
    switch (problem) {
    case PictureFile::Problem::Missing:
        return u"文件不存在。"_s;
    case PictureFile::Problem::IsFolder:
        return u"这是一个文件夹，不是图片文件。"_s;
    case PictureFile::Problem::NotARegularFile:
        return u"这不是普通文件。"_s;
    default:
        return u"文件无法读取，可能没有读取权限。"_s;
    }
}

QString writeProblemText(PictureFile::Problem problem)
{
    switch (problem) {
    case PictureFile::Problem::FolderMissing:
        return u"目标文件夹不存在。"_s;
    case PictureFile::Problem::IsFolder:
        return u"已有同名的文件夹。"_s;
    default:
        return u"文件无法写入，可能没有写入权限或磁盘已满。"_s;
    }
}

}

PictureOperations::PictureOperations(MainWindow &window)
    : QObject(&window)
    , m_window(window)
{
}

void PictureOperations::add()
{
    const std::optional<QString> path = pickFile(AddFilter, {}, FileDialogKind::Open, AddTitle);
    if (!path)
        return;
    const std::optional<QByteArray> bytes = readPictureFile(*path);
    if (!bytes)
        return;
    const PictureFileName file = PictureFileName::fromPath(*path);
    if (!m_window.store().appendRecord(file.name, file.category, *bytes)) {
        reportError(u"图片未能存入图片库，图片库未作改动。"_s);
        return;
    }
    showRowAfterChange(m_window.store().recordCount() - 1);
}

void PictureOperations::replace()
{
    const std::optional<int> record = goToSelectedRecord();
    if (!record)
        return;
    const std::optional<QString> path =
        pickFile(categoryFilter(m_window.标签2->text()), {}, FileDialogKind::Open, ReplaceTitle);
    if (!path)
        return;
    const std::optional<QByteArray> bytes = readPictureFile(*path);
    if (!bytes)
        return;
    if (!m_window.store().writeField(PictureStore::PictureField, *bytes)) {
        reportError(u"新的图片未能存入图片库，原来的图片保持不变。"_s);
        return;
    }
    showRowAfterChange(*record - 1);
}

void PictureOperations::rename()
{
    const std::optional<int> record = goToSelectedRecord();
    if (!record)
        return;
    const QString name = withoutSpaces(m_window.编辑框1->text());
    if (name.isEmpty())
        return;
    if (!m_window.store().writeField(PictureStore::NameField, name)) {
        reportError(u"新的图片名未能存入图片库，图片名保持不变。"_s);
        return;
    }
    showRowAfterChange(*record - 1);
}

void PictureOperations::deletePicture()
{
    const std::optional<int> record = goToSelectedRecord();
    if (!record)
        return;
    if (messageBox(DeleteQuestion, MessageBoxFlags::OkCancel | MessageBoxFlags::IconQuestion, DeleteTitle)
        != IDOK)
        return;
    PictureStore &store = m_window.store();
    if (!store.deleteCurrent() || !store.purgeDeleted())
        reportError(u"图片未能从图片库中删除。"_s);
    showRowAfterChange(*record - 1);
}

void PictureOperations::exportPicture()
{
    const QString typedName = m_window.编辑框1->text();
    if (!hasSelection() || withoutSpaces(typedName).isEmpty())
        return;
    const QString category = m_window.标签2->text();
    const std::optional<QString> path =
        pickFile(categoryFilter(category), typedName, FileDialogKind::Save, ExportTitle);
    if (!path)
        return;
    // The category is always added, also to a name typed with an extension;
    // a picture without a category is written under the chosen name as is.
    const QString target = category.isEmpty() ? *path : *path + u'.' + category;
    const PictureFile::Problem problem = PictureFile::write(target, m_window.标签3->picture());
    if (problem != PictureFile::Problem::None) {
        reportError(u"图片无法导出到"_s + quoted(target) + u"：\r\n"_s + writeProblemText(problem)
                    + u"\r\n\r\n没有写入任何内容，已有的同名文件保持不变。"_s);
    }
}

std::optional<QString> PictureOperations::pickFile(const QString &filter, const QString &initialName,
                                                   FileDialogKind kind, const QString &title)
{
    return showFileDialog(FileDialogRequest{kind, title, initialName, filter, {}});
}

std::optional<QByteArray> PictureOperations::readPictureFile(const QString &path)
{
    PictureFile::ReadResult file = PictureFile::read(path);
    QString problem;
    if (file.problem != PictureFile::Problem::None)
        problem = readProblemText(file.problem);
    else if (file.bytes.isEmpty())
        problem = u"文件是空的。"_s;
    if (problem.isEmpty())
        return std::move(file.bytes);
    reportError(u"无法读取图片文件"_s + quoted(path) + u"：\r\n"_s + problem
                + u"\r\n\r\n图片库未作改动。"_s);
    return std::nullopt;
}

bool PictureOperations::hasSelection() const
{
    const CheckBoxList &list = *m_window.选择列表框1;
    return list.rowValue(list.selectedIndex()) > 0;
}

std::optional<int> PictureOperations::goToSelectedRecord()
{
    const CheckBoxList &list = *m_window.选择列表框1;
    const int record = list.rowValue(list.selectedIndex());
    if (!m_window.store().goToRecord(record))
        return std::nullopt;
    return record;
}

void PictureOperations::showRowAfterChange(int row)
{
    m_window.refreshPictureList();
    CheckBoxList &list = *m_window.选择列表框1;
    if (list.rowCount() == 0) {
        m_window.showWelcomeState();
        return;
    }
    list.setSelectedIndex(std::min(row, list.rowCount() - 1));
    m_window.showSelectedPicture();
}

void PictureOperations::reportError(const QString &text)
{
    messageBox(text, MessageBoxFlags::IconStop, ErrorTitle);
}
