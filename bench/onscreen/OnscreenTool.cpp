// What the on-screen benchmark needs besides the programs it measures:
//
//   onscreen_tool photos DIR WIDTH HEIGHT COUNT   photo-like JPEGs, each with a flat block of its
//                                                 own colour in the middle; prints "file colour"
//   onscreen_tool library DIR FILE...             a library of these files in DIR
//   onscreen_tool progressive FILE WIDTH HEIGHT   a small progressive JPEG
//   onscreen_tool bare                            a bare Qt window, 240 x 156 at (50, 50)
//   onscreen_tool decode FILE WIDTH HEIGHT COUNT  median milliseconds of Qt decoding FILE
//                                                 straight to the size that fits the box
#include "store/PictureStore.h"

#include <QApplication>
#include <QBuffer>
#include <QColor>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QColor blockColour(int index)
{
    return QColor::fromHsv(index * 47 % 360, 255, 230 - index * 7 % 60);
}

// Gradients under fine grain: a JPEG of it costs a decoder what a photo does.
int photos(const QString &folder, int width, int height, int count)
{
    QImage grain(256, 256, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < grain.height(); ++y) {
        for (int x = 0; x < grain.width(); ++x) {
            const int v = int(random.bounded(48));
            grain.setPixel(x, y, qRgb(v, v, v));
        }
    }
    for (int i = 0; i < count; ++i) {
        QImage image(width, height, QImage::Format_RGB32);
        QPainter painter(&image);
        QLinearGradient sky(0, 0, width, height);
        sky.setColorAt(0, QColor::fromHsv(i * 53 % 360, 90, 200));
        sky.setColorAt(1, QColor::fromHsv((i * 53 + 150) % 360, 160, 80));
        painter.fillRect(image.rect(), sky);
        painter.setCompositionMode(QPainter::CompositionMode_Plus);
        painter.fillRect(image.rect(), QBrush(grain));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        const QRect block(width * 2 / 5, height * 2 / 5, width / 5, height / 5);
        painter.fillRect(block, blockColour(i));
        painter.end();
        const QString file = u"%1/photo-%2.jpg"_s.arg(folder).arg(i, 3, 10, QChar(u'0'));
        if (!image.save(file, "JPG", 90))
            return 1;
        std::printf("%s %s\n", qPrintable(file), qPrintable(blockColour(i).name().mid(1)));
    }
    return 0;
}

int library(const QString &folder, const QStringList &files)
{
    std::vector<PictureStore::NewRecord> records;
    for (const QString &path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        const QFileInfo info(path);
        records.push_back({info.completeBaseName(), info.suffix(), file.readAll()});
    }
    PictureStore store;
    return store.open(folder + u"/pic.edb"_s) && store.append(records) ? 0 : 1;
}

int progressive(const QString &path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(40, 120, 200));
    QImageWriter writer(path, "jpeg");
    writer.setProgressiveScanWrite(true);
    return writer.write(image) ? 0 : 1;
}

int bare(QApplication &application)
{
    QWidget window;
    window.setWindowTitle(u"bare"_s);
    window.setGeometry(50, 50, 240, 156);
    window.show();
    return application.exec();
}

int decode(const QString &path, QSize box, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer clock;
        clock.start();
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        reader.setScaledSize(reader.size().scaled(box, Qt::KeepAspectRatio));
        const QImage image = reader.read();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (image.isNull())
            return 1;
    }
    std::sort(times.begin(), times.end());
    std::printf("%.1f\n", times[times.size() / 2]);
    return 0;
}

}

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    const QString command = arguments.value(0);
    if (command == u"photos" && arguments.size() == 5)
        return photos(arguments[1], arguments[2].toInt(), arguments[3].toInt(), arguments[4].toInt());
    if (command == u"library" && arguments.size() >= 3)
        return library(arguments[1], arguments.mid(2));
    if (command == u"progressive" && arguments.size() == 4)
        return progressive(arguments[1], arguments[2].toInt(), arguments[3].toInt());
    if (command == u"bare")
        return bare(application);
    if (command == u"decode" && arguments.size() == 5)
        return decode(arguments[1], {arguments[2].toInt(), arguments[3].toInt()}, arguments[4].toInt());
    std::fprintf(stderr, "onscreen_tool: see the source for its commands\n");
    return 2;
}
