#pragma once

#include <QString>

// What the windows say about a failure of the picture store, the files of a
// library, the lock of its folder or a file the program writes, picked
// from its reason (see ReasonSentence.h), and the notes in place of a
// picture that cannot be shown (see PictureNote.h).
namespace ReasonText {
// What SQLite says about the files of a library.
inline const QString DiskFull = QStringLiteral("磁盘已满");
inline const QString DiskError = QStringLiteral("读写磁盘时出错");
inline const QString ReadOnly = QStringLiteral("图片库文件是只读的");
inline const QString NoPermission = QStringLiteral("没有访问图片库文件的权限");
inline const QString Damaged = QStringLiteral("图片库文件已损坏");
inline const QString Busy = QStringLiteral("图片库正被另一个程序使用");
inline const QString CannotOpen = QStringLiteral("图片库文件无法打开");
inline const QString TooBig = QStringLiteral("图片太大，图片库存不下");
inline const QString OutOfMemory = QStringLiteral("内存不足");
inline const QString OtherError = QStringLiteral("图片库出错（%1）");
inline const QString Cancelled = QStringLiteral("已取消");

// The two files of a library; %1 is a file's name.
inline const QString NotAFile = QStringLiteral("%1 不是文件");
inline const QString Unreadable = QStringLiteral("%1 无法读取");
inline const QString UnreadableBecause = QStringLiteral("%1 无法读取：%2");
inline const QString UnopenableBecause = QStringLiteral("%1 无法打开：%2");
inline const QString NotALibraryFile = QStringLiteral("%1 已损坏，或不是图片库文件");
inline const QString ForeignFile = QStringLiteral("%1 不是本程序的图片库文件");
inline const QString WalFile = QStringLiteral("%1 使用了本程序不用的日志模式（WAL）");
inline const QString NewerVersion = QStringLiteral("%1 由更新版本的本程序写成");
inline const QString NoTables = QStringLiteral("%1 没有图片库的表");
inline const QString NamedLikeBytes = QStringLiteral("%1 是图片数据文件的名字，不是图片库的名字");
inline const QString Missing = QStringLiteral("%1 不见了，它应当在 %2 旁边");
inline const QString NoLibrary = QStringLiteral("%1 不存在");
inline const QString OnlySetAside = QStringLiteral(
    "%1 不见了，但文件夹中还有改名保留的损坏图片库文件（*%2…）。要新建一个空的图片库，请先把这些文件移到别处");
inline const QString NotAPair = QStringLiteral("%1 与 %2 不是同一个图片库的文件");
inline const QString CannotCreate = QStringLiteral("无法新建图片库：%1");

// Steps over several files; %1 is a path.
inline const QString NotPlaced = QStringLiteral("%1 无法放到位");
inline const QString LeftoverStep = QStringLiteral("上次被中断的文件操作无法完成：%1");

// The records.
inline const QString NotOpen = QStringLiteral("图片库没有打开");
inline const QString NoSuchRecord = QStringLiteral("图片库中没有第 %1 张图片");
inline const QString BytesMissing = QStringLiteral("图片的数据不见了，图片库可能已损坏");

// A sealed library; %1 is a row.
inline const QString Locked = QStringLiteral("图片库已加密，尚未解锁");
inline const QString KeyMismatch = QStringLiteral("这个密钥不是本图片库的");
inline const QString SealBroken = QStringLiteral("图片库第 %1 行的数据无法解密，图片库可能已损坏或被改动");
inline const QString AlreadySealed = QStringLiteral("图片库已经加密");
inline const QString NotSealed = QStringLiteral("图片库没有加密");

// The lock of the library's folder.
inline const QString AlreadyOpen = QStringLiteral("图片库已经打开：本程序已经在运行，正在使用同一个程序文件夹。");
inline const QString LockIsLink = QStringLiteral(
    "程序文件夹无法加锁：锁文件的位置上是一个链接（%1），不是本程序的锁文件。请删除这个链接后再启动本程序。");
inline const QString LockIsFolder = QStringLiteral(
    "程序文件夹无法加锁：锁文件的位置上是一个文件夹（%1）。请删除或移走这个文件夹后再启动本程序。");
inline const QString CannotLock = QStringLiteral("程序文件夹无法加锁，可能没有写入权限。");

// A file the program writes.
inline const QString CannotWrite = QStringLiteral("文件无法写入，可能没有写入权限或磁盘已满");
inline const QString FolderMissing = QStringLiteral("目标文件夹不存在");
inline const QString FolderInTheWay = QStringLiteral("已有同名的文件夹");
inline const QString CannotRead = QStringLiteral("文件无法读取");

// The notes shown in place of a picture that cannot be shown.
inline const QString PictureDamaged = QStringLiteral("图片文件已损坏，无法显示。");
inline const QString PictureTooLarge = QStringLiteral("图片太大（%1×%2 像素），无法显示。");
inline const QString PictureTooComplex = QStringLiteral("图片的编码过于复杂，无法显示。");
inline const QString NotAPicture = QStringLiteral("不是可以显示的图片。");
inline const QString PictureUnreadable = QStringLiteral("图片无法读取：%1");
}
