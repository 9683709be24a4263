#include "toolkit/CheckBoxList.h"

#include "toolkit/CheckBoxListModel.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

CheckBoxList::CheckBoxList(QWidget *parent)
    : QListView(parent)
    , m_model(new CheckBoxListModel(this))
{
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    watchSelection();
}

CheckBoxList::~CheckBoxList() = default;

void CheckBoxList::watchSelection()
{
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_selectingFromProgram)
            Q_EMIT userSelectionChanged();
    });
}

void CheckBoxList::clear()
{
    const QScopedValueRollback guard(m_selectingFromProgram, true);
    m_model->clear();
}

void CheckBoxList::addRow(const QString &text, int value)
{
    addRows({Row{text, value}});
}

void CheckBoxList::addRows(std::vector<Row> rows)
{
    const QScopedValueRollback guard(m_selectingFromProgram, true);
    m_model->append(std::move(rows));
}

int CheckBoxList::rowCount() const
{
    return m_model->rowCount();
}

QString CheckBoxList::rowText(int index) const
{
    const Row *row = m_model->row(index);
    return row ? row->text : QString();
}

int CheckBoxList::rowValue(int index) const
{
    const Row *row = m_model->row(index);
    return row ? row->value : -1;
}

int CheckBoxList::selectedIndex() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

bool CheckBoxList::setSelectedIndex(int index)
{
    const QScopedValueRollback guard(m_selectingFromProgram, true);
    if (!m_model->row(index)) {
        selectionModel()->clear();
        return false;
    }
    const QModelIndex modelIndex = m_model->index(index);
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
    if (arrow && selectedIndex() < 0 && m_model->rowCount() > 0) {
        selectionModel()->setCurrentIndex(m_model->index(0), QItemSelectionModel::ClearAndSelect);
        scrollTo(m_model->index(0));
        return;
    }
    QListView::keyPressEvent(event);
}
