#pragma once

#include <QAbstractListModel>

class PictureStore;

// The pictures of a store as a list: row i is record i + 1, and the
// picture's name is the row's text, read from the store itself. The store
// changes first; then the one who changed it tells this model, which tells
// the views.
class PictureListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    PictureListModel(const PictureStore &store, QObject *parent);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    void recordsAppended();
    void recordRenamed(int record);
    void recordRemoved(int record);
    // The store was opened or closed.
    void storeReplaced();

private:
    const PictureStore &m_store;
    // The rows the views know of.
    int m_rows = 0;
};
