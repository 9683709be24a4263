#pragma once

#include <QListView>

// A list with a check box before every row's text, over a list model that
// someone else holds; it never sorts. The boxes are drawn, never read or
// set. Selecting a row by hand raises userSelectionChanged; selecting one
// from the program does not. The user can move the selection but never
// clear it.
class CheckBoxList : public QListView
{
    Q_OBJECT

public:
    explicit CheckBoxList(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;

    int rowCount() const;
    // The text of a row, empty for an index outside the list.
    QString rowText(int index) const;

    // The selected row, -1 when none is.
    int selectedIndex() const;
    // Selects a row; an index outside the list leaves no row selected and
    // gives false.
    bool setSelectedIndex(int index);

Q_SIGNALS:
    void userSelectionChanged();
    void listDoubleClicked();
    // Enter or Return on a selected row.
    void rowEntered();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // Once a row is selected, a row stays selected: a click beside the rows
    // or a Ctrl+click on the selected row changes nothing.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
    // With no row selected, Up and Down select the first row; Enter on a
    // selected row raises rowEntered.
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool isRow(int index) const;

    bool m_selectingFromProgram = false;
};
