#include "mainwindow/PictureListModel.h"

#include "store/PictureStore.h"

PictureListModel::PictureListModel(const PictureStore &store, QObject *parent)
    : QAbstractListModel(parent)
    , m_store(store)
{
}

int PictureListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant PictureListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows)
        return {};
    return m_store.name(index.row() + 1);
}

void PictureListModel::recordsAppended()
{
    if (m_store.count() <= m_rows)
        return;
    beginInsertRows({}, m_rows, m_store.count() - 1);
    m_rows = m_store.count();
    endInsertRows();
}

void PictureListModel::recordRenamed(int record)
{
    const QModelIndex changed = index(record - 1);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
}

void PictureListModel::recordRemoved(int record)
{
    beginRemoveRows({}, record - 1, record - 1);
    m_rows = m_store.count();
    endRemoveRows();
}

void PictureListModel::storeReplaced()
{
    beginResetModel();
    m_rows = m_store.count();
    endResetModel();
}
