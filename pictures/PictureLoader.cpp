#include "pictures/PictureLoader.h"

#include "pictures/PictureInspection.h"
#include "pictures/PictureTexts.h"

#include <QCoreApplication>
#include <QImageReader>
#include <QRunnable>
#include <QThread>

namespace {

// Decoded pictures kept: the one shown and its neighbours on both sides,
// in both windows.
constexpr std::size_t CacheSize = 6;

enum Priority { Ahead = 0, Now = 1 };

}

// Reads and decodes one picture in a worker and hands the result back to
// the loader's thread.
class PictureLoader::Job : public QRunnable
{
public:
    Job(PictureLoader &loader, PictureSource source, QSize box, std::shared_ptr<std::atomic<bool>> wanted)
        : m_loader(loader)
        , m_source(std::move(source))
        , m_box(box)
        , m_wanted(std::move(wanted))
    {
        setAutoDelete(true);
    }

    void run() override
    {
        if (!*m_wanted)
            return;
        const std::expected<QByteArray, QString> bytes = m_source.read();
        DecodedPicture picture = bytes ? decodePicture(*bytes, m_box)
                                       : DecodedPicture{QImage(), PictureText::Unreadable.arg(bytes.error()), m_box, QSize()};
        // The loader outlives its jobs: its destructor waits for them.
        QMetaObject::invokeMethod(
            &m_loader, [loader = &m_loader, key = m_source.key, picture = std::move(picture)] { loader->finished(key, picture); },
            Qt::QueuedConnection);
    }

private:
    PictureLoader &m_loader;
    PictureSource m_source;
    QSize m_box;
    std::shared_ptr<std::atomic<bool>> m_wanted;
};

PictureLoader::PictureLoader(QObject *parent)
    : QObject(parent)
{
    m_workers.setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
    // A last guard for the formats whose headers are not read beforehand.
    QImageReader::setAllocationLimit(int(PictureBudget::DecodedBytes / (1024 * 1024)));
}

PictureLoader::~PictureLoader()
{
    for (const Underway &underway : std::as_const(m_underway))
        *underway.wanted = false;
    m_workers.waitForDone();
}

void PictureLoader::request(const QObject *consumer, const PictureSource &source, QSize box, Show show)
{
    if (const Decoded *hit = cached(source.key, box)) {
        m_wanted.remove(consumer);
        dropUnwantedJobs();
        show(fittedInto(hit->picture, box));
        return;
    }
    m_wanted.insert(consumer, Wanted{source.key, box, std::move(show)});
    dropUnwantedJobs();
    decode(source, box, Now);
}

void PictureLoader::cancel(const QObject *consumer)
{
    m_wanted.remove(consumer);
    dropUnwantedJobs();
}

void PictureLoader::prefetch(const std::vector<PictureSource> &sources, QSize box)
{
    m_prefetched.clear();
    for (const PictureSource &source : sources)
        m_prefetched.push_back(source.key);
    dropUnwantedJobs();
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
    m_workers.waitForDone();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

const PictureLoader::Decoded *PictureLoader::cached(quint64 key, QSize box) const
{
    for (const Decoded &decoded : m_cache) {
        if (decoded.key == key && decoded.picture.serves(box))
            return &decoded;
    }
    return nullptr;
}

void PictureLoader::remember(quint64 key, const DecodedPicture &picture)
{
    std::erase_if(m_cache, [key](const Decoded &decoded) { return decoded.key == key; });
    m_cache.push_front(Decoded{key, picture});
    if (m_cache.size() > CacheSize)
        m_cache.pop_back();
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
    auto wanted = std::make_shared<std::atomic<bool>>(true);
    m_underway.insert(source.key, Underway{decodeBox, wanted});
    m_workers.start(new Job(*this, source, decodeBox, std::move(wanted)), priority);
}

void PictureLoader::finished(quint64 key, const DecodedPicture &picture)
{
    if (m_underway.value(key).box == picture.box)
        m_underway.remove(key);
    remember(key, picture);
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

void PictureLoader::dropUnwantedJobs()
{
    for (auto underway = m_underway.begin(); underway != m_underway.end();) {
        if (!isWanted(underway.key())) {
            *underway->wanted = false;
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
