#pragma once

#include "toolkit/CheckBoxList.h"

#include <QAbstractListModel>

#include <vector>

// The rows of a CheckBoxList: text, value and the state of the check box.
class CheckBoxListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit CheckBoxListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void clear();
    void append(std::vector<CheckBoxList::Row> rows);
    const CheckBoxList::Row *row(int index) const;

private:
    std::vector<CheckBoxList::Row> m_rows;
    std::vector<bool> m_checked;
};
