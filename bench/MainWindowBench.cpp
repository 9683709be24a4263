// Opening a big library into the main window, and showing a selected photo
// next to decoding the same photo alone.
#include "BenchLibrary.h"
#include "library/MainWindow.h"
#include "toolkit/CheckBoxList.h"
#include "toolkit/PictureLabel.h"
#include "toolkit/ProgramDirectory.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

using namespace Qt::StringLiterals;

namespace {

Library &photoLibrary()
{
    static Library library(10000, {5000, 5001, 5002, 5003});
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
        MainWindow window;
        benchmark::DoNotOptimize(control<CheckBoxList>(window, u"选择列表框1")->rowCount());
    }
}
BENCHMARK(openAndList100k)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// The same with the freed heap handed back first, as in a fresh process.
void openAndList100kCold(benchmark::State &state)
{
    const ScopedProgramDirectory directory(bigLibrary().path());
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        state.ResumeTiming();
        MainWindow window;
        benchmark::DoNotOptimize(control<CheckBoxList>(window, u"选择列表框1")->rowCount());
    }
}
BENCHMARK(openAndList100kCold)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void memoryOf100kLibrary(benchmark::State &state)
{
    QTemporaryDir emptyDirectory;
    bigLibrary();
    for (auto _ : state) {
        long before = 0;
        long after = 0;
        {
            const ScopedProgramDirectory directory(emptyDirectory.path());
            MainWindow empty;
            before = residentKilobytes();
        }
        {
            const ScopedProgramDirectory directory(bigLibrary().path());
            MainWindow full;
            after = residentKilobytes();
        }
        state.counters["added_MB"] = double(after - before) / 1024.0;
    }
}
BENCHMARK(memoryOf100kLibrary)->Unit(benchmark::kMillisecond)->Iterations(1);

void decodePhotoAlone(benchmark::State &state)
{
    decodeEachPhoto(state, photoLibrary().photos());
}
BENCHMARK(decodePhotoAlone)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

void showSelectedPhoto(benchmark::State &state)
{
    const ScopedProgramDirectory directory(photoLibrary().path());
    MainWindow window;
    window.show();
    int next = 0;
    for (auto _ : state) {
        // Rows 4999..5002 hold the photos; every step shows another one.
        window.showRow(4999 + next++ % 4);
        benchmark::DoNotOptimize(control<QLabel>(window, u"标签3")->pixmap().cacheKey());
    }
}
BENCHMARK(showSelectedPhoto)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}
