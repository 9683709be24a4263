#include "pictures/PictureLoader.h"

#include "pictures/PictureInspection.h"

#include <QCoreApplication>
#include <QImageReader>
#include <QThread>
#include <QtConcurrent>

namespace {

// The cache holds this many pictures of the size decoded for: the one shown
// and its neighbours on both sides, in both windows.
constexpr qsizetype PicturesKept = 6;
constexpr qsizetype BytesPerPixel = 4;

// A picture asked for now goes ahead of the pictures decoded ahead.
enum Priority { Ahead = 0, Now = 1 };

// Reads and decodes one picture in a worker; a decode dropped while it
// waited in the queue ends without reading.
void readAndDecode(QPromise<DecodedPicture> &promise, const PictureSource &source, QSize box)
{
    if (promise.isCanceled())
        return;
    const std::expected<QByteArray, QString> bytes = source.read();
    promise.addResult(bytes ? decodePicture(*bytes, box)
                            : DecodedPicture{QImage(), PictureProblem::Unreadable, bytes.error(), box, QSize()});
}

qsizetype costOf(const DecodedPicture &picture)
{
    return std::max<qsizetype>(1, picture.image.sizeInBytes());
}

}

PictureLoader::PictureLoader(QObject *parent)
    : QObject(parent)
{
    m_decoders.setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
    // A last guard for the formats whose headers are not read beforehand.
    QImageReader::setAllocationLimit(int(PictureBudget::DecodedBytes / (1024 * 1024)));
}

PictureLoader::~PictureLoader()
{
    for (QFutureWatcherBase *decode : findChildren<QFutureWatcherBase *>(Qt::FindDirectChildrenOnly))
        decode->cancel();
    m_decoders.waitForDone();
}

void PictureLoader::request(const QObject *consumer, const PictureSource &source, QSize box, Show show)
{
    connect(consumer, &QObject::destroyed, this, &PictureLoader::cancel, Qt::UniqueConnection);
    if (const DecodedPicture *hit = cached(source.key, box)) {
        const DecodedPicture picture = fittedInto(*hit, box);
        m_wanted.remove(consumer);
        dropUnwantedDecodes();
        show(picture);
        return;
    }
    m_wanted.insert(consumer, Wanted{source.key, box, std::move(show)});
    dropUnwantedDecodes();
    decode(source, box, Now);
}

void PictureLoader::cancel(const QObject *consumer)
{
    m_wanted.remove(consumer);
    dropUnwantedDecodes();
}

void PictureLoader::prefetch(const std::vector<PictureSource> &sources, QSize box)
{
    m_prefetched.clear();
    for (const PictureSource &source : sources)
        m_prefetched.push_back(source.key);
    dropUnwantedDecodes();
    for (const PictureSource &source : sources) {
        if (source.key != 0 && !cached(source.key, box))
            decode(source, box, Ahead);
    }
}

void PictureLoader::setLargestBox(QSize box)
{
    m_largestBox = box;
}

void PictureLoader::waitForIdle()
{
    m_decoders.waitForDone();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::FutureCallOut);
}

const DecodedPicture *PictureLoader::cached(quint64 key, QSize box) const
{
    const DecodedPicture *picture = m_cache.object(key);
    return picture && picture->serves(box) ? picture : nullptr;
}

void PictureLoader::decode(const PictureSource &source, QSize box, int priority)
{
    if (source.key == 0)
        return;
    const QSize decodeBox = m_largestBox.isValid() ? m_largestBox.expandedTo(box) : box;
    const auto underway = m_underway.constFind(source.key);
    if (underway != m_underway.cend() && underway->box.width() >= decodeBox.width()
        && underway->box.height() >= decodeBox.height())
        return;
    m_cache.setMaxCost(PicturesKept * BytesPerPixel * decodeBox.width() * decodeBox.height());
    auto *decode = new Decode(this);
    connect(decode, &Decode::finished, this, [this, decode, key = source.key] { finished(key, decode); });
    decode->setFuture(QtConcurrent::task(&readAndDecode)
                          .withArguments(source, decodeBox)
                          .onThreadPool(m_decoders)
                          .withPriority(priority)
                          .spawn());
    m_underway.insert(source.key, Underway{decodeBox, decode});
}

void PictureLoader::finished(quint64 key, Decode *decode)
{
    decode->deleteLater();
    const auto underway = m_underway.constFind(key);
    if (underway != m_underway.cend() && underway->decode == decode)
        m_underway.erase(underway);
    if (decode->isCanceled())
        return;
    // Taken, so that the watcher keeps no picture until it is deleted.
    const DecodedPicture picture = decode->future().takeResult();
    m_cache.insert(key, new DecodedPicture(picture), costOf(picture));
    deliver(key, picture);
}

void PictureLoader::deliver(quint64 key, const DecodedPicture &picture)
{
    std::vector<std::pair<Show, QSize>> delivered;
    for (auto wanted = m_wanted.begin(); wanted != m_wanted.end();) {
        if (wanted->key == key && picture.serves(wanted->box)) {
            delivered.emplace_back(std::move(wanted->show), wanted->box);
            wanted = m_wanted.erase(wanted);
        } else {
            ++wanted;
        }
    }
    // A consumer may ask for the next picture while being shown this one.
    for (const auto &[show, box] : delivered)
        show(fittedInto(picture, box));
}

void PictureLoader::dropUnwantedDecodes()
{
    for (auto underway = m_underway.begin(); underway != m_underway.end();) {
        if (!isWanted(underway.key())) {
            underway->decode->cancel();
            underway = m_underway.erase(underway);
        } else {
            ++underway;
        }
    }
}

bool PictureLoader::isWanted(quint64 key) const
{
    if (std::find(m_prefetched.begin(), m_prefetched.end(), key) != m_prefetched.end())
        return true;
    return std::any_of(m_wanted.cbegin(), m_wanted.cend(), [key](const Wanted &wanted) { return wanted.key == key; });
}
