#pragma once

#include <QString>

// What the main window, its picture operations and its panels say.
namespace MainWindowText {
// Who made the program and how to reach them.
inline const QString Title = QStringLiteral(" Lumbra v2008.3");
inline const QString Studio = QStringLiteral("Vostrand");
inline const QString ContactAddress = QStringLiteral("lumbra@vostrand.example");
inline const QString WelcomeLine = QStringLiteral("Vostrand 2008.3");
inline const QString PreviewHint = QStringLiteral("双击全屏浏览");

inline const QString NameCaption = QStringLiteral("编号");
inline const QString Add = QStringLiteral("添加");
inline const QString Replace = QStringLiteral("更换图片");
inline const QString Rename = QStringLiteral("图片改名");
inline const QString Export = QStringLiteral("导出图片");
inline const QString Delete = QStringLiteral("删除图片");

inline const QString ChangePassword = QStringLiteral("修改口令");
inline const QString BackUp = QStringLiteral("备份用户信息");
inline const QString Restore = QStringLiteral("还原用户信息");
inline const QString Help = QStringLiteral("帮助");
inline const QString About = QStringLiteral("关于");
inline const QString Exit = QStringLiteral("退出");

inline const QString HelpBody = QStringLiteral(
    " 一、窗口右键菜单修改口令及库文件备份管理。<br><br> 二、点选列表预览图片，双击图片全屏浏览。"
    "<br><br> 三、全屏浏览支持左、右光标键切换浏览图片。");
inline const QString PanelDate = QStringLiteral("2008-3-27");

inline const QString LibraryUnopenable =
    QStringLiteral("图片库无法打开：%1。\r\n\r\n这两个文件未作任何改动，图片列表将保持为空。");

inline const QString AddFilter =
    QStringLiteral("图片文件[*.bmp;*.bmp;*.jpg;*.gif]|*.bmp;*.jpg;*.gif;*.ico|所有文件[*.*]|*.*");
inline const QString AllFilesFilter = QStringLiteral("所有文件[*.*]|*.*");
// The filter of one category: its name in capitals, then "图片(*.", and so on.
inline const QString CategoryFilter = QStringLiteral("%1图片(*.%2)|*.%2");
inline const QString AddTitle = QStringLiteral("请选择要导入的图片");
inline const QString ReplaceTitle = QStringLiteral("请选择新的图片");
inline const QString ExportTitle = QStringLiteral("请选择保存位置");
inline const QString DeleteQuestion = QStringLiteral("删除图片将不可恢复。\r\n\r\n继续吗？");
inline const QString DeleteTitle = QStringLiteral("真的删除吗？");
inline const QString ExportToProgramFile =
    QStringLiteral("不能导出到“%1”：这是本程序正在使用的文件，替换它会毁掉图片库或用户信息。\r\n\r\n请另选一个文件名或文件夹。");
inline const QString ReplaceFileQuestion = QStringLiteral("“%1”已存在。要替换它吗？");
inline const QString AddFailed = QStringLiteral("图片未能存入图片库：%1。\r\n\r\n图片库未作改动。");
inline const QString ReplaceFailed = QStringLiteral("新的图片未能存入图片库：%1。\r\n\r\n原来的图片保持不变。");
inline const QString RenameFailed = QStringLiteral("新的图片名未能存入图片库：%1。\r\n\r\n图片名保持不变。");
inline const QString DeleteFailed = QStringLiteral("图片未能从图片库中删除：%1。\r\n\r\n图片库未作改动。");
inline const QString ExportFailed =
    QStringLiteral("图片无法导出到“%1”：\r\n%2。\r\n\r\n没有写入任何内容，已有的同名文件保持不变。");
inline const QString FileMissing = QStringLiteral("文件不存在。");
inline const QString FileIsFolder = QStringLiteral("这是一个文件夹，不是图片文件。");
inline const QString FileNotRegular = QStringLiteral("这不是普通文件。");
inline const QString FileEmpty = QStringLiteral("文件是空的。");
inline const QString FileTooLarge = QStringLiteral("文件太大（%1），图片库只能存入 %2 以内的图片。");
inline const QString FileNoPermission = QStringLiteral("文件无法读取，可能没有读取权限。");
inline const QString AddingLabel = QStringLiteral("正在添加图片……");
inline const QString FingerprintingLabel = QStringLiteral("正在清点图片库中已有的图片……");
inline const QString SomeNotAdded = QStringLiteral("以下 %1 个文件未能添加：\r\n\r\n%2");
inline const QString NotAddedLine = QStringLiteral("“%1”：%2");
inline const QString AlreadyInLibrary =
    QStringLiteral("“%1”已经在图片库中，名为“%2”。\r\n\r\n仍要再添加一次吗？");
inline const QString FileUnreadable = QStringLiteral("无法读取图片文件“%1”：\r\n%2\r\n\r\n图片库未作改动。");
}
