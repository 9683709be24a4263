#include "toolkit/CheckBoxList.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>

namespace {

// Draws an empty check box before each text; the model knows nothing of it.
class CheckBoxDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->features |= QStyleOptionViewItem::HasCheckIndicator;
        option->checkState = Qt::Unchecked;
    }
};

}

CheckBoxList::CheckBoxList(QWidget *parent)
    : QListView(parent)
{
    setItemDelegate(new CheckBoxDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void CheckBoxList::setModel(QAbstractItemModel *model)
{
    // Connected before the view's own: a selection that rows going away
    // take along is no choice of the user.
    const auto fromProgram = [this](bool on) { return [this, on] { m_selectingFromProgram = on; }; };
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, fromProgram(true));
    connect(model, &QAbstractItemModel::rowsRemoved, this, fromProgram(false));
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, fromProgram(true));
    connect(model, &QAbstractItemModel::modelReset, this, fromProgram(false));
    QListView::setModel(model);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_selectingFromProgram)
            Q_EMIT userSelectionChanged();
    });
}

bool CheckBoxList::isRow(int index) const
{
    return model() && index >= 0 && index < model()->rowCount();
}

int CheckBoxList::rowCount() const
{
    return model() ? model()->rowCount() : 0;
}

QString CheckBoxList::rowText(int index) const
{
    return isRow(index) ? model()->index(index, 0).data().toString() : QString();
}

int CheckBoxList::selectedIndex() const
{
    const QModelIndexList selected = selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

bool CheckBoxList::setSelectedIndex(int index)
{
    const QScopedValueRollback guard(m_selectingFromProgram, true);
    if (!isRow(index)) {
        if (selectionModel())
            selectionModel()->clear();
        return false;
    }
    const QModelIndex modelIndex = model()->index(index, 0);
    selectionModel()->setCurrentIndex(modelIndex, QItemSelectionModel::ClearAndSelect);
    scrollTo(modelIndex);
    return true;
}

void CheckBoxList::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT listDoubleClicked();
}

QItemSelectionModel::SelectionFlags CheckBoxList::selectionCommand(const QModelIndex &index,
                                                                   const QEvent *event) const
{
    const QItemSelectionModel::SelectionFlags command = QListView::selectionCommand(index, event);
    if (!index.isValid() || command.testFlag(QItemSelectionModel::Deselect)
        || command.testFlag(QItemSelectionModel::Toggle))
        return QItemSelectionModel::NoUpdate;
    return command;
}

void CheckBoxList::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && selectedIndex() >= 0) {
        Q_EMIT rowEntered();
        return;
    }
    const bool arrow = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
    if (arrow && selectedIndex() < 0 && isRow(0)) {
        selectionModel()->setCurrentIndex(model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
        scrollTo(model()->index(0, 0));
        return;
    }
    QListView::keyPressEvent(event);
}
