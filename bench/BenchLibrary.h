#pragma once

#include "config/Session.h"

#include <QByteArray>
#include <QSize>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace benchmark {
class State;
}

// The session the benchmarks open the main window with: they never open its
// menu, so they need no account file.
inline const Session BenchSession{};

// A photo-like 1920 x 1080 JPEG: smooth gradients with fine grain.
QByteArray photoJpeg(int seed);

// Decodes the photos in turn straight to the size that fits box, as Qt does
// it best alone, one per iteration: the baseline that showing a picture in
// such a box is measured against, side by side in one run.
void decodeEachPhotoInto(benchmark::State &state, const std::vector<QByteArray> &photos, QSize box);

// Opens the main window on the library in folder and returns how long that
// took in microseconds; the child process of a fresh-process benchmark.
qint64 openLibraryHere(const QString &folder);

// A program directory holding a library of count small pictures; the
// records listed in photoRecords hold 1920 x 1080 JPEGs instead, cycling
// through distinctPhotos different ones so that neighbours differ.
class Library
{
public:
    Library(int count, const std::vector<int> &photoRecords, int distinctPhotos = 4);
    // The same library in a folder of its own, to be changed freely.
    static std::unique_ptr<Library> copyOf(const Library &original);

    QString path() const;
    QString filePath(const QString &name) const;
    const std::vector<QByteArray> &photos() const;

private:
    Library() = default;

    QTemporaryDir m_directory;
    std::vector<QByteArray> m_photos;
};

// The 100,000 small pictures every big-library benchmark starts from.
Library &bigLibrary();

// A control of a window, found by its object name.
template<typename Control>
Control *control(const QObject &window, const char16_t *name)
{
    return window.findChild<Control *>(QString::fromUtf16(name));
}
