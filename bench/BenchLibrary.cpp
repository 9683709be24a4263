#include "BenchLibrary.h"

#include "mainwindow/MainWindow.h"
#include "store/PictureStore.h"
#include "toolkit/ProgramDirectory.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImageReader>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

using namespace Qt::StringLiterals;

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

Library::Library(int count, const std::vector<int> &photoRecords, int distinctPhotos)
{
    std::vector<PictureStore::NewRecord> records;
    records.reserve(std::size_t(count));
    const QByteArray small(512, 'x');
    for (int i = 1; i <= count; ++i)
        records.push_back({u"%1"_s.arg(i, 6, 10, QChar(u'0')), u"jpg"_s, small});
    for (std::size_t i = 0; i < photoRecords.size(); ++i) {
        if (m_photos.size() < std::size_t(distinctPhotos))
            m_photos.push_back(photoJpeg(photoRecords[i]));
        records[std::size_t(photoRecords[i] - 1)].picture = m_photos[i % m_photos.size()];
    }
    PictureStore store;
    if (!store.open(filePath(u"pic.edb"_s)) || !store.append(records))
        qFatal("cannot build the library in %s", qPrintable(path()));
}

std::unique_ptr<Library> Library::copyOf(const Library &original)
{
    std::unique_ptr<Library> copy(new Library);
    for (const QString &name : {u"pic.edb"_s, u"pic.EDT"_s})
        QFile::copy(original.filePath(name), copy->filePath(name));
    copy->m_photos = original.m_photos;
    return copy;
}

QString Library::path() const
{
    return m_directory.path();
}

QString Library::filePath(const QString &name) const
{
    return QDir(m_directory.path()).filePath(name);
}

const std::vector<QByteArray> &Library::photos() const
{
    return m_photos;
}

Library &bigLibrary()
{
    static Library library(100000, {});
    return library;
}

void decodeEachPhotoInto(benchmark::State &state, const std::vector<QByteArray> &photos, QSize box)
{
    std::size_t next = 0;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(photos[next++ % photos.size()]);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setScaledSize(reader.size().scaled(box, Qt::KeepAspectRatio));
        const QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
}

qint64 openLibraryHere(const QString &folder)
{
    const ScopedProgramDirectory directory(folder);
    QElapsedTimer clock;
    clock.start();
    MainWindow window(BenchSession);
    window.openLibrary();
    return clock.nsecsElapsed() / 1000;
}
