// The entry of the benchmarks that need widgets: headless unless told
// otherwise. With "--open-library FOLDER" it is the fresh process of a
// fresh-process benchmark instead: it opens that library, prints how long
// it took and ends; with "--log-in FOLDER PASSWORD" it logs in to that
// library through the log-in window instead.
#include "BenchLibrary.h"

#include <QApplication>
#include <cstdio>

#include <benchmark/benchmark.h>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc == 3 && QByteArrayView(argv[1]) == "--open-library") {
        std::printf("%lld\n", static_cast<long long>(openLibraryHere(QString::fromLocal8Bit(argv[2]))));
        return 0;
    }
    if (argc == 4 && QByteArrayView(argv[1]) == "--log-in") {
        const qint64 took = logInHere(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
        std::printf("%lld\n", static_cast<long long>(took));
        return took < 0 ? 1 : 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
