#include "StoreFixture.h"
#include "TestFiles.h"
#include "store/PictureStore.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;
using Opened = PictureStore::Opened;
using Record = PictureStore::NewRecord;

namespace {

struct InvalidFiles
{
    const char *description;
    // The file the error has to name.
    QStringView culprit;
    // Lays out the folder; gets the paths of pic.edb and pic.EDT.
    std::function<bool(const QString &, const QString &)> prepare;
};

class LibraryFilesTest : public StoreFixture,
                         public ::testing::WithParamInterface<InvalidFiles>
{ };

bool namesFile(const StoreError &error, QStringView file)
{
    return error.detail == file || error.companion == file;
}

bool validStore(const QString &edbPath)
{
    PictureStore store;
    return store.open(edbPath) == Opened::Created && store.append(Record{u"r"_s, u"c"_s, "picture"});
}

const InvalidFiles invalidFiles[] = {
    {"random bytes in pic.edb", u"pic.edb",
     [](const QString &edb, const QString &) {
         return validStore(edb) && writeFile(edb, randomBytes(8192, 1));
     }},
    {"pic.edb damaged after its header", u"pic.edb",
     [](const QString &edb, const QString &) {
         return validStore(edb) && writeFile(edb, readFile(edb).left(100) + randomBytes(8092, 2));
     }},
    {"pic.EDT damaged after its header", u"pic.EDT",
     [](const QString &edb, const QString &edt) {
         return validStore(edb) && writeFile(edt, readFile(edt).left(100) + randomBytes(65436, 3));
     }},
    {"foreign SQLite databases", u"pic.edb",
     [](const QString &edb, const QString &edt) {
         const char *sql =
             "CREATE TABLE notes(id INTEGER PRIMARY KEY, text TEXT); INSERT INTO notes(text) VALUES('hi');";
         return writeSqliteFile(edb, sql) && writeSqliteFile(edt, sql);
     }},
    {"tables of another layout under this program's marks", u"pic.edb",
     [](const QString &edb, const QString &) {
         return validStore(edb)
             && writeSqliteFile(edb,
                                "PRAGMA application_id = 1280131666; PRAGMA user_version = 1;"
                                "ALTER TABLE pictures RENAME TO photos;");
     }},
    {"pic.EDT switched to WAL", u"pic.EDT",
     [](const QString &edb, const QString &edt) {
         return validStore(edb) && writeSqliteFile(edt, "PRAGMA journal_mode = WAL;");
     }},
    {"pic.edb and pic.EDT swapped", u"pic.edb",
     [](const QString &edb, const QString &edt) {
         const QByteArray rows = readFile(edb);
         return validStore(edb) && writeFile(edb, readFile(edt)) && writeFile(edt, rows);
     }},
    {"only pic.edb", u"pic.EDT",
     [](const QString &edb, const QString &edt) { return validStore(edb) && QFile::remove(edt); }},
    {"only pic.EDT", u"pic.edb",
     [](const QString &edb, const QString &) { return validStore(edb) && QFile::remove(edb); }},
    {"pic.EDT of another library", u"pic.EDT",
     [](const QString &edb, const QString &edt) {
         const QString other = edb + u"-other.edb"_s;
         return validStore(other) && validStore(edb) && writeFile(edt, readFile(PictureStore::companionPath(other)))
             && QFile::remove(other) && QFile::remove(PictureStore::companionPath(other));
     }},
    {"pic.EDT without the stamp of its pair", u"pic.EDT",
     [](const QString &edb, const QString &) {
         return validStore(edb) && rawExec(edb, "DROP TABLE edt.pair_stamp");
     }},
    {"only the set-aside files of a damaged library", u"pic.edb",
     [](const QString &edb, const QString &edt) {
         return validStore(edb) && QFile::rename(edb, edb + u".damaged-1"_s) && QFile::rename(edt, edt + u".damaged-1"_s);
     }},
    {"pic.edb is a folder", u"pic.edb",
     [](const QString &edb, const QString &edt) {
         return QDir().mkdir(edb) && writeFile(edt, QByteArray());
     }},
};

TEST_P(LibraryFilesTest, OpenFailsWithItsReasonAndTouchesNoFile)
{
    SCOPED_TRACE(GetParam().description);
    ASSERT_TRUE(GetParam().prepare(edbPath(), edtPath()));
    const auto before = snapshot(m_dir.path());
    PictureStore store;
    const auto opened = store.open(edbPath());
    ASSERT_FALSE(opened);
    EXPECT_FALSE(store.isOpen());
    EXPECT_TRUE(namesFile(opened.error(), GetParam().culprit)) << describe(opened.error());
    // Only damage may lead to the offer of the BAK copy.
    EXPECT_EQ(opened.error().problem(), LibraryProblem::Damaged);
    EXPECT_EQ(store.count(), 0);
    store.close();
    EXPECT_TRUE(snapshot(m_dir.path()) == before) << "files were created, removed or changed";
}

void PrintTo(const InvalidFiles &files, std::ostream *out)
{
    *out << files.description;
}

INSTANTIATE_TEST_SUITE_P(Files, LibraryFilesTest, ::testing::ValuesIn(invalidFiles));

} // namespace
