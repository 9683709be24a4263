#include "toolkit/CheckBoxListModel.h"

CheckBoxListModel::CheckBoxListModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

int CheckBoxListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant CheckBoxListModel::data(const QModelIndex &index, int role) const
{
    const CheckBoxList::Row *entry = row(index.row());
    if (!entry || index.parent().isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return entry->text;
    case Qt::CheckStateRole:
        return m_checked[std::size_t(index.row())] ? Qt::Checked : Qt::Unchecked;
    case Qt::UserRole:
        return entry->value;
    default:
        return {};
    }
}

bool CheckBoxListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !row(index.row()))
        return false;
    m_checked[std::size_t(index.row())] = value.value<Qt::CheckState>() == Qt::Checked;
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags CheckBoxListModel::flags(const QModelIndex &index) const
{
    if (!row(index.row()))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

void CheckBoxListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_checked.clear();
    endResetModel();
}

void CheckBoxListModel::append(std::vector<CheckBoxList::Row> rows)
{
    if (rows.empty())
        return;
    if (m_rows.empty()) {
        // A whole new list: one reset is far cheaper than announcing rows.
        beginResetModel();
        m_rows = std::move(rows);
        m_checked.assign(m_rows.size(), false);
        endResetModel();
        return;
    }
    const int first = int(m_rows.size());
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(rows.begin()),
                  std::make_move_iterator(rows.end()));
    m_checked.resize(m_rows.size(), false);
    endInsertRows();
}

const CheckBoxList::Row *CheckBoxListModel::row(int index) const
{
    if (index < 0 || std::size_t(index) >= m_rows.size())
        return nullptr;
    return &m_rows[std::size_t(index)];
}
