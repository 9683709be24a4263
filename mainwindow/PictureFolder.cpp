#include "mainwindow/PictureFolder.h"

#include "config/DataFolder.h"
#include "toolkit/ProgramDirectory.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

const QString Key = u"folders/pictures"_s;

QString settingsFile()
{
    return DataFolder(programDirectory()).settingsPath();
}

}

QString pictureFolder()
{
    const QString remembered = QSettings(settingsFile(), QSettings::IniFormat).value(Key).toString();
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

void rememberPictureFolder(const QString &chosenFile)
{
    QSettings(settingsFile(), QSettings::IniFormat).setValue(Key, QFileInfo(chosenFile).absolutePath());
}
