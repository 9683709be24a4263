#include "TestFiles.h"
#include "store/PictureStore.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace Qt::StringLiterals;
using Record = PictureStore::NewRecord;

namespace {

struct ChildRun
{
    bool killed = false;
    QString output;
};

const QString KillAfter = u"CRASH_SHIM_KILL_AFTER"_s;
const QString FailAt = u"CRASH_SHIM_FAIL_AT"_s;

// Runs the step child; with a fault (KillAfter or FailAt) the shim is
// preloaded and hits the call numbered point (0 only counts the calls).
ChildRun runChild(const QString &mode, const QString &folder, const QString &fault = {}, long point = 0)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!fault.isEmpty()) {
        environment.insert(u"LD_PRELOAD"_s, QString::fromLocal8Bit(CRASH_SHIM));
        environment.insert(fault, QString::number(point));
    }
    child.setProcessEnvironment(environment);
    child.start(QString::fromLocal8Bit(LIBRARY_STEP_CHILD), {mode, folder});
    EXPECT_TRUE(child.waitForFinished(60'000)) << mode.toStdString();
    return {child.exitStatus() == QProcess::CrashExit, QString::fromUtf8(child.readAllStandardOutput())};
}

long countedCalls(const QString &output)
{
    return output.section(u'\n', 0, 0).section(u' ', 1).toLong();
}

void copyFolder(const QString &from, const QString &to)
{
    QDir(to).removeRecursively();
    QDir().mkpath(to);
    QDirIterator entries(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        const QString path = entries.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(path));
        if (entries.fileInfo().isDir())
            QDir().mkpath(target);
        else
            QFile::copy(path, target);
    }
}

// Temporaries and intents a start must not leave behind.
QStringList leftovers(const QString &folder)
{
    QStringList found;
    QDirIterator entries(folder, {u"*.new*"_s, u"lumbra.intent"_s}, QDir::Files | QDir::Hidden,
                         QDirIterator::Subdirectories);
    while (entries.hasNext())
        found << entries.next();
    return found;
}

std::vector<Record> records(int count, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<Record> made;
    for (int i = 1; i <= count; ++i) {
        QByteArray picture(200 + int(rng() % 5000), Qt::Uninitialized);
        for (char &byte : picture)
            byte = char(rng());
        made.push_back({u"图%1-%2"_s.arg(seed).arg(i), u"jpg"_s, picture});
    }
    return made;
}

class CrashPointTest : public ::testing::Test
{
protected:
    QString templateFolder() const { return m_dir.filePath(u"template"_s); }
    QString workFolder() const { return m_dir.filePath(u"work"_s); }

    void makeLibrary(const QString &edbPath, const std::vector<Record> &content)
    {
        PictureStore store;
        ASSERT_TRUE(store.open(edbPath));
        ASSERT_TRUE(store.append(content));
    }

    // How a fresh start finds the template as it is, and after the step ran
    // whole: the only two states a kill at any point may leave.
    std::pair<QString, QString> oldAndNewStates(const QString &step)
    {
        copyFolder(templateFolder(), workFolder());
        const QString before = runChild(u"start"_s, workFolder()).output;
        copyFolder(templateFolder(), workFolder());
        const ChildRun whole = runChild(step, workFolder(), KillAfter);
        m_points = countedCalls(whole.output);
        return {before, runChild(u"start"_s, workFolder()).output};
    }

    // Kills the step after each of its renames, unlinks and syncs in turn
    // (or fails that call); after each a fresh start must find one of the
    // states, leave no temporary behind, and the next backup must copy the
    // library whole.
    void faultAtEveryPoint(const QString &step, const QStringList &states,
                          const std::function<void()> &checkFiles = {}, const QString &fault = KillAfter)
    {
        ASSERT_GE(m_points, 10) << "the shim counted too few calls: is it preloaded?";
        for (long point = 1; point <= m_points; ++point) {
            SCOPED_TRACE(step.toStdString() + " " + fault.toStdString() + " " + std::to_string(point));
            copyFolder(templateFolder(), workFolder());
            EXPECT_EQ(runChild(step, workFolder(), fault, point).killed, fault == KillAfter);
            // A failure is mended at once; what a kill left, at the next start.
            if (checkFiles && fault == FailAt)
                checkFiles();
            const QString state = runChild(u"start"_s, workFolder()).output;
            EXPECT_TRUE(states.contains(state)) << state.toStdString();
            EXPECT_EQ(leftovers(workFolder()), QStringList());
            if (checkFiles)
                checkFiles();
            if (!state.startsWith(u"library opened\n"_s))
                continue;
            runChild(u"backup"_s, workFolder());
            const QString backedUp = runChild(u"start"_s, workFolder()).output;
            const QString library = backedUp.section(u"bak "_s, 0, 0).sliced(u"library "_s.size());
            EXPECT_EQ(backedUp.section(u"bak "_s, 1).toStdString(), library.toStdString()) << "BAK after the next backup";
        }
    }

    QTemporaryDir m_dir;
    long m_points = 0;
};

TEST_F(CrashPointTest, CreatingTheLibraryGivesNoLibraryOrAnEmptyOne)
{
    QDir().mkpath(templateFolder());
    const auto [before, after] = oldAndNewStates(u"create"_s);
    EXPECT_EQ(after, u"library opened\nbak failed unavailable\n"_s);
    faultAtEveryPoint(u"create"_s, {after});
}

TEST_F(CrashPointTest, TheBakCopyIsTheOldCopyOrTheNewOneNeverAMix)
{
    const QString edbPath = QDir(templateFolder()).filePath(u"pic.edb"_s);
    QDir().mkpath(QDir(templateFolder()).filePath(u"BAK"_s));
    makeLibrary(QDir(templateFolder()).filePath(u"BAK/pic.edb"_s), records(4, 1));
    makeLibrary(edbPath, records(6, 2));
    const auto [before, after] = oldAndNewStates(u"backup"_s);
    ASSERT_NE(before, after);
    faultAtEveryPoint(u"backup"_s, {before, after});
}

TEST_F(CrashPointTest, RecoveryFromBakGivesTheDamagedLibraryOrTheCopyNeverAnEmptyOne)
{
    const QString edbPath = QDir(templateFolder()).filePath(u"pic.edb"_s);
    QDir().mkpath(QDir(templateFolder()).filePath(u"BAK"_s));
    makeLibrary(QDir(templateFolder()).filePath(u"BAK/pic.edb"_s), records(5, 3));
    makeLibrary(edbPath, records(3, 4));
    const QByteArray damaged = "this is no picture library any more";
    ASSERT_TRUE(writeFile(edbPath, damaged));
    const QByteArray damagedBytes = readFile(PictureStore::companionPath(edbPath));
    const auto [before, after] = oldAndNewStates(u"recover"_s);
    ASSERT_TRUE(before.startsWith(u"library failed damaged\n"_s)) << before.toStdString();
    ASSERT_TRUE(after.startsWith(u"library opened\n"_s)) << after.toStdString();
    // The damaged files are kept, under their names or set aside, byte for byte.
    const QDir work(workFolder());
    const auto damagedFilesKept = [&] {
        const bool setAside = QFile::exists(work.filePath(u"pic.edb.damaged-test"_s));
        EXPECT_EQ(readFile(work.filePath(setAside ? u"pic.edb.damaged-test"_s : u"pic.edb"_s)), damaged);
        EXPECT_EQ(readFile(work.filePath(setAside ? u"pic.EDT.damaged-test"_s : u"pic.EDT"_s)), damagedBytes);
    };
    faultAtEveryPoint(u"recover"_s, {before, after}, damagedFilesKept);
    // A recovery that fails anywhere puts the damaged files back at once,
    // before any start; one that succeeds has the copy in place.
    faultAtEveryPoint(u"recover"_s, {before, after}, [&] {
        damagedFilesKept();
        const bool setAside = QFile::exists(work.filePath(u"pic.edb.damaged-test"_s));
        EXPECT_EQ(setAside, QFile::exists(work.filePath(u"pic.EDT.damaged-test"_s)));
        EXPECT_EQ(setAside, readFile(work.filePath(u"pic.edb"_s)) != damaged);
    }, FailAt);
}

}
