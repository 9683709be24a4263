// Opening a big library into the main window, in this process and in a
// fresh one, logging in to it, and showing a selected photo until it is
// painted, next to decoding the same photo alone to the same size; each on
// a plain library and on the same library sealed.
#include "BenchLibrary.h"
#include "config/AccountKeys.h"
#include "mainwindow/MainWindow.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/PictureLabel.h"
#include "toolkit/ProgramDirectory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

using namespace Qt::StringLiterals;

namespace {

Library &photoLibrary(bool sealed = false)
{
    static Library library(10000, {5000, 5001, 5002, 5003, 5004, 5005, 5006, 5007, 5008, 5009, 5010, 5011}, 12);
    if (!sealed)
        return library;
    static const std::unique_ptr<Library> sealedCopy = Library::sealedCopyOf(library);
    return *sealedCopy;
}

// Resident memory, after handing freed heap back to the system so that
// earlier work does not count.
long residentKilobytes()
{
    malloc_trim(0);
    QFile status(u"/proc/self/status"_s);
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// A sealed library is unlocked with the key of the session.
void openAndList100k(benchmark::State &state)
{
    const Library &library = bigLibrary(state.range(0) != 0);
    const ScopedProgramDirectory directory(library.path());
    for (auto _ : state) {
        MainWindow window(library.session());
        window.openLibrary();
        benchmark::DoNotOptimize(control<CheckBoxList>(window, u"选择列表框1")->rowCount());
    }
}
BENCHMARK(openAndList100k)->Apply(plainAndSealed)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// Runs a fresh process of this program with these arguments: it does its
// work and prints how long that took, the iteration's time; its whole run
// is a counter beside it.
void timeAFreshProcess(benchmark::State &state, const QStringList &arguments)
{
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), arguments);
        if (!child.waitForFinished(60000) || child.exitCode() != 0) {
            state.SkipWithError("the fresh process failed");
            break;
        }
        state.SetIterationTime(child.readAllStandardOutput().trimmed().toDouble() / 1e6);
        state.counters["process_ms"] = double(clock.nsecsElapsed()) / 1e6;
    }
}

// The open as the first one of a run.
void openAndList100kInAFreshProcess(benchmark::State &state)
{
    timeAFreshProcess(state, {u"--open-library"_s, bigLibrary().path()});
}
BENCHMARK(openAndList100kInAFreshProcess)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// A user's wait at the start, from the Enter in the log-in window to the
// list painted: the password check (the MD5 digest of the default password
// on the plain library, the slot's Argon2id derivation on the sealed one),
// the open and, sealed, the unlock.
void logInTo100kInAFreshProcess(benchmark::State &state)
{
    const Library &library = bigLibrary(state.range(0) != 0);
    timeAFreshProcess(state, {u"--log-in"_s, library.path(), library.password()});
}
BENCHMARK(logInTo100kInAFreshProcess)
    ->Apply(plainAndSealed)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

// The password check of that log-in alone, in this process, the account
// file's key derived already.
void checkPasswordOfLogIn(benchmark::State &state)
{
    const Library &library = bigLibrary(state.range(0) != 0);
    const QString configFilePath = library.session().configFilePath;
    for (auto _ : state) {
        if (!keysOfLogIn(configFilePath, library.session().userName, library.password())) {
            state.SkipWithError("the password was refused");
            break;
        }
    }
}
BENCHMARK(checkPasswordOfLogIn)->Apply(plainAndSealed)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void memoryOf100kLibrary(benchmark::State &state)
{
    QTemporaryDir emptyDirectory;
    bigLibrary();
    for (auto _ : state) {
        long before = 0;
        long after = 0;
        {
            const ScopedProgramDirectory directory(emptyDirectory.path());
            MainWindow empty(BenchSession);
            empty.openLibrary();
            before = residentKilobytes();
        }
        {
            const ScopedProgramDirectory directory(bigLibrary().path());
            MainWindow full(BenchSession);
            full.openLibrary();
            after = residentKilobytes();
        }
        state.counters["added_MB"] = double(after - before) / 1024.0;
    }
}
BENCHMARK(memoryOf100kLibrary)->Unit(benchmark::kMillisecond)->Iterations(1);

constexpr QSize PreviewBox(378, 389);

void decodePhotoToThePreviewSize(benchmark::State &state)
{
    decodeEachPhotoInto(state, photoLibrary().photos(), PreviewBox);
}
BENCHMARK(decodePhotoToThePreviewSize)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void showSelectedPhoto(benchmark::State &state)
{
    const Library &library = photoLibrary(state.range(0) != 0);
    const ScopedProgramDirectory directory(library.path());
    MainWindow window(library.session());
    window.show();
    window.openLibrary();
    int next = 0;
    QLabel &preview = *control<QLabel>(window, u"标签3");
    for (auto _ : state) {
        // Rows 4999..5010 hold twelve photos; every step shows another one,
        // never one still decoded from before: the cache holds fewer.
        const qint64 shown = preview.pixmap().cacheKey();
        window.library().showRow(4999 + next++ % 12);
        window.library().pictureLoader().waitForIdle();
        if (preview.pixmap().cacheKey() == shown)
            state.SkipWithError("the preview did not change");
        preview.repaint();
    }
}
BENCHMARK(showSelectedPhoto)->Apply(plainAndSealed)->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(15)->ReportAggregatesOnly(true);

}
