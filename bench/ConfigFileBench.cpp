#include "config/Accounts.h"
#include "config/ConfigFile.h"
#include "config/ConfigPaths.h"
#include "config/DerivedKeyCache.h"
#include "config/GbkText.h"
#include "config/PasswordDigest.h"
#include "config/ProtectedFile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int AccountCount = 200;

QString accountName(int index)
{
    return u"用户%1"_s.arg(index, 3, 10, QLatin1Char('0'));
}

// A system.dat of AccountCount accounts, written once for all benchmarks.
const QString &systemDat()
{
    static QTemporaryDir directory;
    static const QString path = [] {
        const QString file = configFilePathIn(directory.path());
        ProtectedFile protectedFile;
        if (!protectedFile.open(file, toGbk(ConfigFilePassword), ProtectedFile::Mode::ReadWrite))
            qFatal("cannot create %s", qPrintable(file));
        for (int i = 0; i < AccountCount; ++i) {
            protectedFile.lines().insertLine(toGbk(u"["_s + accountName(i) + u"]"_s));
            protectedFile.lines().insertLine(toGbk(u"口令="_s + passwordDigest(QString::number(i))));
        }
        if (!protectedFile.close())
            qFatal("cannot write %s", qPrintable(file));
        return file;
    }();
    return path;
}

// Every open as the program does it: the key comes from the process cache
// after the first derivation.
void BM_ReadConfigItem_LastAccount(benchmark::State &state)
{
    const QString &path = systemDat();
    const QString name = accountName(AccountCount - 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(readUserDigest(path, name));
}
BENCHMARK(BM_ReadConfigItem_LastAccount)->Unit(benchmark::kMillisecond);

// The first open of a run: the key is derived afresh each time.
void BM_ReadConfigItem_ColdKey(benchmark::State &state)
{
    const QString &path = systemDat();
    const QString name = accountName(AccountCount - 1);
    for (auto _ : state) {
        DerivedKeyCache::clear();
        benchmark::DoNotOptimize(readUserDigest(path, name));
    }
}
BENCHMARK(BM_ReadConfigItem_ColdKey)->Unit(benchmark::kMillisecond);

void BM_LoadUserNames(benchmark::State &state)
{
    const QString &path = systemDat();
    for (auto _ : state)
        benchmark::DoNotOptimize(loadUserNames(path));
}
BENCHMARK(BM_LoadUserNames)->Unit(benchmark::kMillisecond);

// A password change: new salt, new key, atomic save with a sync to disk.
void BM_WriteUserDigest(benchmark::State &state)
{
    const QString &path = systemDat();
    const QString name = accountName(AccountCount - 1);
    int round = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(writeUserDigest(path, name, passwordDigest(QString::number(++round))));
}
BENCHMARK(BM_WriteUserDigest)->Unit(benchmark::kMillisecond);

}
