#include "reasons/ReasonSentence.h"
#include "seal/LibraryKey.h"
#include "store/PictureStore.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

QTemporaryDir &benchDir()
{
    static QTemporaryDir dir;
    return dir;
}

QByteArray randomBytes(qsizetype size, unsigned seed)
{
    std::mt19937 rng(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(rng());
    return bytes;
}

// The key of the sealed libraries.
const std::shared_ptr<const LibraryKey> &benchKey()
{
    static const std::shared_ptr<const LibraryKey> key = LibraryKey::generate();
    return key;
}

// Creates fileName in the bench folder with count records, in batches so
// the building itself stays small in memory; sealed under the key if one is
// given.
QString buildStore(const QString &fileName, int count, const std::function<QByteArray(int)> &pictureOf,
                   const std::shared_ptr<const LibraryKey> &key = {})
{
    const QString path = benchDir().filePath(fileName);
    PictureStore store;
    if (const auto created = store.open(path); created != PictureStore::Opened::Created)
        qFatal("cannot create %s", qPrintable(path));
    if (key && !store.seal(key, u"slot"_s))
        qFatal("cannot seal %s", qPrintable(path));
    constexpr int Batch = 10000;
    for (int first = 0; first < count; first += Batch) {
        std::vector<PictureStore::NewRecord> records;
        for (int i = first; i < std::min(count, first + Batch); ++i)
            records.push_back({u"IMG_%1 春节 北京 2008"_s.arg(i, 6, 10, QLatin1Char('0')),
                               u"类别%1"_s.arg(i % 20), pictureOf(i)});
        if (const auto appended = store.append(records); !appended)
            qFatal("cannot fill %s: %s", qPrintable(path), qPrintable(reasonSentence(appended.error())));
    }
    return path;
}

const QByteArray &smallPicture()
{
    static const QByteArray bytes = randomBytes(2048, 1);
    return bytes;
}

double residentMegabytes()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

double heapMegabytes()
{
    return double(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

// Names of every record, as a list model would hold them.
QStringList listNames(const PictureStore &store, qint64 &numberSum)
{
    QStringList names;
    names.reserve(store.count());
    for (int record = 1; record <= store.count(); ++record) {
        names.append(store.name(record));
        numberSum += record;
    }
    return names;
}

struct Footprint
{
    double residentMb = 0;
    double heapMb = 0;
};

// Memory that opening and listing the big store adds over an empty store,
// measured once from a trimmed heap so freed memory is not reused silently.
Footprint openFootprint(const QString &bigPath)
{
    static const Footprint footprint = [&bigPath] {
        const QString emptyPath = buildStore(u"empty.edb"_s, 0, {});
        qint64 numberSum = 0;
        malloc_trim(0);
        PictureStore store;
        (void)store.open(emptyPath);
        QStringList names = listNames(store, numberSum);
        const double residentBefore = residentMegabytes();
        const double heapBefore = heapMegabytes();
        (void)store.open(bigPath);
        names = listNames(store, numberSum);
        return Footprint{residentMegabytes() - residentBefore, heapMegabytes() - heapBefore};
    }();
    return footprint;
}

// Opens the store at path, and unlocks it with the key when one is given.
std::expected<void, StoreError> openStore(PictureStore &store, const QString &path,
                                          const std::shared_ptr<const LibraryKey> &key)
{
    const auto opened = store.open(path);
    if (!opened)
        return std::unexpected(opened.error());
    return key ? store.unlock(key) : std::expected<void, StoreError>();
}

// Sealed (range 1), the picture is sealed and its fingerprint is keyed.
void appendFiveMegabytePicture(benchmark::State &state)
{
    static const QString plainPath = buildStore(u"append.edb"_s, 10000, [](int) { return smallPicture(); });
    static const QString sealedPath =
        buildStore(u"append-sealed.edb"_s, 10000, [](int) { return smallPicture(); }, benchKey());
    const bool sealed = state.range(0) != 0;
    const QByteArray picture = randomBytes(5 * 1024 * 1024, 2);
    PictureStore store;
    if (const auto opened = openStore(store, sealed ? sealedPath : plainPath, sealed ? benchKey() : nullptr); !opened) {
        state.SkipWithError(qPrintable(reasonSentence(opened.error())));
        return;
    }
    int appended = 0;
    for (auto _ : state) {
        if (const auto added = store.append({u"big %1"_s.arg(++appended), u"大图"_s, picture}); !added) {
            state.SkipWithError(qPrintable(reasonSentence(added.error())));
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * picture.size());
}

// Opens the library at path (unlocked with key when it is sealed) and lists
// its 100,000 names, once per iteration from fresh memory.
void openAndListEachIteration(benchmark::State &state, const QString &path,
                              const std::shared_ptr<const LibraryKey> &key)
{
    PictureStore store;
    qint64 numberSum = 0;
    for (auto _ : state) {
        const auto opened = openStore(store, path, key);
        if (!opened || store.count() != 100000) {
            state.SkipWithError(opened ? "records missing" : qPrintable(reasonSentence(opened.error())));
            break;
        }
        QStringList names = listNames(store, numberSum);
        benchmark::DoNotOptimize(names);
        state.PauseTiming();
        store.close();
        names = {};
        // Hands the freed heap back so every open pays for fresh memory, as
        // the first open in a new process does.
        malloc_trim(0);
        state.ResumeTiming();
    }
    benchmark::DoNotOptimize(numberSum);
}

void openAndListHundredThousand(benchmark::State &state)
{
    static const QString path = buildStore(u"large.edb"_s, 100000, [](int) { return QByteArray(64, 'p'); });
    const Footprint footprint = openFootprint(path);
    openAndListEachIteration(state, path, nullptr);
    state.counters["rss_delta_MB"] = footprint.residentMb;
    state.counters["heap_delta_MB"] = footprint.heapMb;
}

// Opening a sealed library: every name and category is unsealed.
void openUnsealAndListHundredThousand(benchmark::State &state)
{
    static const QString path =
        buildStore(u"sealed.edb"_s, 100000, [](int) { return QByteArray(64, 'p'); }, benchKey());
    openAndListEachIteration(state, path, benchKey());
}

void readFourHundredKilobytePicture(benchmark::State &state)
{
    constexpr int Spacing = 100;
    static const QString path = buildStore(u"read.edb"_s, 10000, [](int i) {
        return i % Spacing == 0 ? randomBytes(400 * 1024, unsigned(i)) : smallPicture();
    });
    PictureStore store;
    if (const auto opened = store.open(path); !opened) {
        state.SkipWithError(qPrintable(reasonSentence(opened.error())));
        return;
    }
    int record = 1;
    for (auto _ : state) {
        const QByteArray picture = store.picture(record).value_or(QByteArray());
        if (picture.size() != 400 * 1024) {
            state.SkipWithError("wrong picture size");
            break;
        }
        benchmark::DoNotOptimize(picture.constData());
        record = record + Spacing > store.count() ? 1 : record + Spacing;
    }
    state.SetBytesProcessed(state.iterations() * 400 * 1024);
}

} // namespace

BENCHMARK(appendFiveMegabytePicture)
    ->ArgName("sealed")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(openAndListHundredThousand)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(openUnsealAndListHundredThousand)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(readFourHundredKilobytePicture)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
