#pragma once

#include "store/PictureStore.h"
#include "viewer/PictureSequence.h"

#include <QObject>

class LibraryKey;
class PictureListModel;
class QAbstractItemModel;

// What the main window shows, without a widget: the picture store, the
// loader that reads and decodes its pictures, the list of pictures over the
// store, and the selection. The selected record and the record shown last
// are the one notion of the current picture, which the main window, its
// operations and the viewer share. Every change goes through here, so that
// the list hears of it.
class LibraryModel : public QObject, public PictureSequence
{
    Q_OBJECT

public:
    explicit LibraryModel(QObject *parent = nullptr);
    ~LibraryModel() override;

    std::expected<PictureStore::Opened, StoreError> open(const QString &edbPath);
    void close();
    // Opens the rows of a sealed library with its key, and lists them.
    std::expected<void, StoreError> unlock(std::shared_ptr<const LibraryKey> key);

    // Read access, and the copies into BAK.
    PictureStore &store();
    const PictureStore &store() const;
    // One row per record, the picture's name as text.
    QAbstractItemModel *list() const;

    // The selected record, 0 when none is.
    int selectedRecord() const;
    // The record shown last: it stays while no record is selected.
    int currentRecord() const;
    // Selects a record, or none for a number that is no record; always
    // tells selectionChanged, so that a change shows afresh.
    void select(int record);
    // The picture of a record, to read and decode in a worker.
    PictureSource pictureOf(int record) const;

    std::expected<void, StoreError> append(const PictureStore::NewRecord &record);
    std::expected<void, StoreError> replacePicture(int record, const QByteArray &picture, const QString &category);
    std::expected<void, StoreError> rename(int record, const QString &name);
    std::expected<void, StoreError> remove(int record);

    // What the viewer steps through.
    int pictureCount() const override;
    int rowCount() const override;
    int selectedRow() const override;
    QString rowName(int row) const override;
    void showRow(int row) override;
    PictureSource currentPicture() const override;
    PictureSource pictureOfRow(int row) const override;
    PictureLoader &pictureLoader() override;

Q_SIGNALS:
    void selectionChanged();

private:
    PictureStore m_store;
    PictureLoader m_loader;
    PictureListModel *m_list;
    int m_selected = 0;
    int m_current = 0;
};
