#pragma once

#include "config/Session.h"

#include <QByteArray>
#include <QSize>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <vector>

class LibraryKey;

namespace benchmark {
class State;
namespace internal {
class Benchmark;
}
}

// The session the benchmarks open the main window with: they never open its
// menu, so they need no account file.
inline const Session BenchSession{};

// The password of the administrator of a sealed library: its slot opens
// with the default Argon2id cost.
inline const QString SealedPassword = QStringLiteral("长城2008");

// A photo-like 1920 x 1080 JPEG: smooth gradients with fine grain.
QByteArray photoJpeg(int seed);

// Decodes the photos in turn straight to the size that fits box, as Qt does
// it best alone, one per iteration: the baseline that showing a picture in
// such a box is measured against, side by side in one run.
void decodeEachPhotoInto(benchmark::State &state, const std::vector<QByteArray> &photos, QSize box);

// Opens the main window on the library in folder and returns how long that
// took in microseconds; the child process of a fresh-process benchmark.
qint64 openLibraryHere(const QString &folder);
// Logs in to the library in folder through the real log-in window: from
// the Enter that takes the typed password until the main window has painted
// its list; in microseconds, or -1 when no list came. The child process of
// a fresh-process benchmark.
qint64 logInHere(const QString &folder, const QString &password);

// A program directory holding a library of count small pictures; the
// records listed in photoRecords hold 1920 x 1080 JPEGs instead, cycling
// through distinctPhotos different ones so that neighbours differ.
class Library
{
public:
    Library(int count, const std::vector<int> &photoRecords, int distinctPhotos = 4);
    // The same library in a folder of its own, to be changed freely.
    static std::unique_ptr<Library> copyOf(const Library &original);
    // The same library sealed under a new key, as sealing at a password
    // change leaves it (every row sealed, the files compacted), with an
    // account file whose administrator holds a slot of the key that
    // SealedPassword opens.
    static std::unique_ptr<Library> sealedCopyOf(const Library &original);

    QString path() const;
    QString filePath(const QString &name) const;
    const std::vector<QByteArray> &photos() const;
    // The session of a log-in to it: with the key of a sealed library.
    Session session() const;
    // The administrator's password.
    QString password() const;

private:
    Library() = default;
    void seal();

    QTemporaryDir m_directory;
    std::vector<QByteArray> m_photos;
    std::shared_ptr<const LibraryKey> m_key;
};

// The 100,000 small pictures every big-library benchmark starts from, or
// the same sealed.
Library &bigLibrary(bool sealed = false);

// Runs the benchmark on a plain library (sealed:0) and on the same one
// sealed (sealed:1); with --benchmark_enable_random_interleaving their
// repetitions take turns.
void plainAndSealed(benchmark::internal::Benchmark *benchmark);

// A control of a window, found by its object name.
template<typename Control>
Control *control(const QObject &window, const char16_t *name)
{
    return window.findChild<Control *>(QString::fromUtf16(name));
}
