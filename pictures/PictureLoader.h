#pragma once

#include "pictures/PictureDecoder.h"

#include <QCache>
#include <QFutureWatcher>
#include <QHash>
#include <QObject>
#include <QSize>
#include <QThreadPool>

#include <expected>
#include <functional>
#include <vector>

// Where the bytes of one picture come from: a key that names these very
// bytes (a new key for new bytes), and how to read them. The reading runs in
// a worker thread.
struct PictureSource
{
    quint64 key = 0;
    std::function<std::expected<QByteArray, QString>()> read;
};

// Reads and decodes pictures in worker threads, so that no window ever
// waits on a decode, and keeps the pictures decoded last, as many as their
// bytes allow: one read and one decode of a picture serve every view of it.
// Each consumer sees only the newest picture it asked for; a result for an
// earlier request is never shown, a request ends with its consumer, and
// queued work nobody waits for any more is dropped.
class PictureLoader : public QObject
{
    Q_OBJECT

public:
    using Show = std::function<void(const DecodedPicture &)>;

    explicit PictureLoader(QObject *parent = nullptr);
    // Drops the queued work and waits for the decodes underway.
    ~PictureLoader() override;

    // Shows the picture fitted into box through show: at once when it is
    // decoded already, else once a worker has decoded it. A later request
    // of the same consumer replaces this one; the consumer's destruction
    // cancels it.
    void request(const QObject *consumer, const PictureSource &source, QSize box, Show show);
    // Forgets what the consumer asked for; nothing more is shown for it.
    void cancel(const QObject *consumer);
    // Decodes these pictures ahead, so that showing them is only a paint.
    void prefetch(const std::vector<PictureSource> &sources, QSize box);
    // While valid, every decode is made for this box (the largest view), so
    // that the smaller views are served from the same decode.
    void setLargestBox(QSize box);

    // Waits until the decodes underway have ended and their pictures are
    // handed over; for tests and benchmarks.
    void waitForIdle();

private:
    using Decode = QFutureWatcher<DecodedPicture>;
    struct Wanted
    {
        quint64 key = 0;
        QSize box;
        Show show;
    };
    // A decode queued or underway: the box it decodes for, and its watcher,
    // a child of the loader.
    struct Underway
    {
        QSize box;
        Decode *decode = nullptr;
    };

    const DecodedPicture *cached(quint64 key, QSize box) const;
    void decode(const PictureSource &source, QSize box, int priority);
    void finished(quint64 key, Decode *decode);
    void deliver(quint64 key, const DecodedPicture &picture);
    void dropUnwantedDecodes();
    bool isWanted(quint64 key) const;

    // Qt's own image scaling in the window's thread waits for the global
    // pool, so the decodes run on a pool of their own.
    QThreadPool m_decoders;
    QSize m_largestBox;
    QHash<const QObject *, Wanted> m_wanted;
    std::vector<quint64> m_prefetched;
    QHash<quint64, Underway> m_underway;
    // Least recently used first out; costed in bytes.
    QCache<quint64, DecodedPicture> m_cache;
};
