// Opening a big library into the main window, and showing a selected photo
// next to decoding the same photo alone.
#include "CheckBoxList.h"
#include "MainWindow.h"
#include "PictureLabel.h"
#include "ProgramDirectory.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A photo-like 1920 x 1080 JPEG: smooth gradients with fine grain.
QByteArray photoJpeg(int seed)
{
    QImage image(1920, 1080, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 1920, 1080);
    sky.setColorAt(0, QColor::fromHsv(seed * 37 % 360, 120, 230));
    sky.setColorAt(1, QColor::fromHsv((seed * 37 + 120) % 360, 200, 90));
    painter.fillRect(image.rect(), sky);
    painter.end();
    QRandomGenerator random{quint32(seed)};
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grain = int(random.bounded(24)) - 12;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + grain, 255), qBound(0, qGreen(p) + grain, 255),
                           qBound(0, qBlue(p) + grain, 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

// A program directory holding a library of count small pictures; the
// records listed in photos hold 1920 x 1080 JPEGs instead.
class Library
{
public:
    Library(int count, const std::vector<int> &photos)
    {
        std::vector<PictureStore::NewRecord> records;
        records.reserve(std::size_t(count));
        const QByteArray small(512, 'x');
        for (int i = 1; i <= count; ++i)
            records.push_back({u"%1"_s.arg(i, 6, 10, QChar(u'0')), u"jpg"_s, small});
        for (int record : photos) {
            m_photos.push_back(photoJpeg(record));
            records[std::size_t(record - 1)].picture = m_photos.back();
        }
        PictureStore store;
        store.openStore(QDir(m_directory.path()).filePath(u"pic.edb"_s));
        store.appendRecords(records);
    }

    QString path() const { return m_directory.path(); }
    const std::vector<QByteArray> &photos() const { return m_photos; }

private:
    QTemporaryDir m_directory;
    std::vector<QByteArray> m_photos;
};

Library &bigLibrary()
{
    static Library library(100000, {});
    return library;
}

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
        benchmark::DoNotOptimize(window.选择列表框1->rowCount());
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
        benchmark::DoNotOptimize(window.选择列表框1->rowCount());
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
    const std::vector<QByteArray> &photos = photoLibrary().photos();
    std::size_t next = 0;
    for (auto _ : state) {
        const QImage image = QImage::fromData(photos[next++ % photos.size()]);
        benchmark::DoNotOptimize(image.constBits());
    }
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
        window.选择列表框1->setSelectedIndex(4999 + next++ % 4);
        window.showSelectedPicture();
        benchmark::DoNotOptimize(window.标签3->pixmap().cacheKey());
    }
}
BENCHMARK(showSelectedPhoto)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
