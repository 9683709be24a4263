#pragma once

#include <QListView>

#include <vector>

class CheckBoxListModel;

// A list of rows, each with a check box, a text and an integer value, in the
// order they were added; it never sorts. Built on a model so that a hundred
// thousand rows fill in a blink. Selecting a row by hand raises
// userSelectionChanged; selecting one from the program does not. The user
// can move the selection but never clear it.
class CheckBoxList : public QListView
{
    Q_OBJECT

public:
    struct Row
    {
        QString text;
        int value = 0;
    };

    explicit CheckBoxList(QWidget *parent = nullptr);
    ~CheckBoxList() override;

    void clear();
    void addRow(const QString &text, int value);
    void addRows(std::vector<Row> rows);

    int rowCount() const;
    // The text of a row, empty for an index outside the list.
    QString rowText(int index) const;
    // The value of a row, -1 for an index outside the list.
    int rowValue(int index) const;

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
    void watchSelection();

    CheckBoxListModel *m_model;
    bool m_selectingFromProgram = false;
};
