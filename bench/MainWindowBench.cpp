// Opening a big library into the main window, in this process and in a
// fresh one, and showing a selected photo until it is painted, next to
// decoding the same photo alone to the same size.
#include "BenchLibrary.h"
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

Library &photoLibrary()
{
    static Library library(10000, {5000, 5001, 5002, 5003, 5004, 5005, 5006, 5007, 5008, 5009, 5010, 5011}, 12);
    return library;
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

void openAndList100k(benchmark::State &state)
{
    const ScopedProgramDirectory directory(bigLibrary().path());
    for (auto _ : state) {
        MainWindow window(BenchSession);
        window.openLibrary();
        benchmark::DoNotOptimize(control<CheckBoxList>(window, u"选择列表框1")->rowCount());
    }
}
BENCHMARK(openAndList100k)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The open as the first one of a run: a fresh process opens the library and
// says how long the open took; its whole run is a counter beside it.
void openAndList100kInAFreshProcess(benchmark::State &state)
{
    const QString folder = bigLibrary().path();
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {u"--open-library"_s, folder});
        if (!child.waitForFinished(60000) || child.exitCode() != 0) {
            state.SkipWithError("the fresh process failed");
            break;
        }
        state.SetIterationTime(child.readAllStandardOutput().trimmed().toDouble() / 1e6);
        state.counters["process_ms"] = double(clock.nsecsElapsed()) / 1e6;
    }
}
BENCHMARK(openAndList100kInAFreshProcess)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

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
    const ScopedProgramDirectory directory(photoLibrary().path());
    MainWindow window(BenchSession);
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
BENCHMARK(showSelectedPhoto)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}
