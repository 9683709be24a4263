#include "OperationsFixture.h"

#include "TestFiles.h"
#include "TestPictures.h"
#include "WindowControls.h"

#include <QDir>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

std::vector<PictureStore::NewRecord> pictures(int count)
{
    std::vector<PictureStore::NewRecord> records;
    for (int i = 1; i <= count; ++i)
        records.push_back({u"%1"_s.arg(i, 4, 10, QChar(u'0')), u"png"_s,
                           pictureFile({30, 20}, QColor::fromHsv(i * 40, 200, 200))});
    return records;
}

void Operations::open(std::vector<PictureStore::NewRecord> records)
{
    program.createLibrary(records);
    original = std::move(records);
    window.emplace(program.session());
    window->show();
    window->openLibrary();
}

QString Operations::pick(const QString &fileName, const QByteArray &bytes)
{
    const QString path = QDir(files.path()).filePath(fileName);
    writeFile(path, bytes);
    return path;
}

void Operations::click(QPushButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

PictureStore::NewRecord Operations::stored(int n)
{
    const PictureStore &store = window->library().store();
    return {store.name(n), store.category(n), store.picture(n).value_or(QByteArray())};
}

int Operations::count()
{
    return window->library().store().count();
}

bool Operations::unchanged(int n)
{
    return stored(n).picture == original[std::size_t(n - 1)].picture;
}

CheckBoxList &Operations::list()
{
    return *ui(*window).pictureList;
}

ScriptedResponder &Operations::responder()
{
    return program.responder();
}
