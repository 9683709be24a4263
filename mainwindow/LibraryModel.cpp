#include "mainwindow/LibraryModel.h"

#include "mainwindow/PictureListModel.h"
#include "reasons/ReasonSentence.h"
#include "store/PictureReader.h"

LibraryModel::LibraryModel(QObject *parent)
    : QObject(parent)
    , m_list(new PictureListModel(m_store, this))
{
}

LibraryModel::~LibraryModel() = default;

std::expected<PictureStore::Opened, StoreError> LibraryModel::open(const QString &edbPath)
{
    auto opened = m_store.open(edbPath);
    m_selected = m_current = 0;
    m_list->storeReplaced();
    return opened;
}

std::expected<void, StoreError> LibraryModel::unlock(std::shared_ptr<const LibraryKey> key)
{
    auto unlocked = m_store.unlock(std::move(key));
    m_list->storeReplaced();
    return unlocked;
}

void LibraryModel::close()
{
    m_store.close();
    m_selected = m_current = 0;
    m_list->storeReplaced();
}

PictureStore &LibraryModel::store()
{
    return m_store;
}

const PictureStore &LibraryModel::store() const
{
    return m_store;
}

QAbstractItemModel *LibraryModel::list() const
{
    return m_list;
}

int LibraryModel::selectedRecord() const
{
    return m_selected;
}

int LibraryModel::currentRecord() const
{
    return m_current;
}

void LibraryModel::select(int record)
{
    m_selected = m_store.isRecord(record) ? record : 0;
    if (m_selected != 0)
        m_current = m_selected;
    Q_EMIT selectionChanged();
}

PictureSource LibraryModel::pictureOf(int record) const
{
    const PictureStore::PictureRef ref = m_store.pictureRef(record);
    if (ref.id == 0)
        return {};
    // The reading thread gets the key, never the store, and opens the bytes itself.
    return {ref.version, [path = m_store.picturesPath(), id = ref.id, key = ref.key] {
                return withReasonSentence(readPictureBytes(path, id, key));
            }};
}

std::expected<void, StoreError> LibraryModel::append(const PictureStore::NewRecord &record)
{
    auto appended = m_store.append(record);
    if (appended)
        m_list->recordsAppended();
    return appended;
}

std::expected<void, StoreError> LibraryModel::replacePicture(int record, const QByteArray &picture,
                                                          const QString &category)
{
    return m_store.replacePicture(record, picture, category);
}

std::expected<void, StoreError> LibraryModel::rename(int record, const QString &name)
{
    auto renamed = m_store.rename(record, name);
    if (renamed)
        m_list->recordRenamed(record);
    return renamed;
}

std::expected<void, StoreError> LibraryModel::remove(int record)
{
    auto removed = m_store.remove(record);
    if (!removed)
        return removed;
    // The records behind the removed one move down by one.
    const auto follow = [record](int &kept) {
        if (kept == record)
            kept = 0;
        else if (kept > record)
            --kept;
    };
    follow(m_selected);
    follow(m_current);
    m_list->recordRemoved(record);
    return removed;
}

int LibraryModel::pictureCount() const
{
    return m_store.count();
}

int LibraryModel::rowCount() const
{
    return m_list->rowCount();
}

int LibraryModel::selectedRow() const
{
    return m_selected - 1;
}

QString LibraryModel::rowName(int row) const
{
    return m_store.name(row + 1);
}

void LibraryModel::showRow(int row)
{
    select(row + 1);
}

PictureSource LibraryModel::currentPicture() const
{
    return pictureOf(m_current);
}

PictureSource LibraryModel::pictureOfRow(int row) const
{
    return pictureOf(row + 1);
}

PictureLoader &LibraryModel::pictureLoader()
{
    return m_loader;
}
