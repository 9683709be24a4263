#pragma once

#include "FileDialog.h"

#include <QObject>
#include <QString>

#include <optional>

class MainWindow;

// The five picture buttons of the main window: add, replace, rename, delete
// and export. Each runs whole in its click handler and works on the selected
// row; after a change the list is rebuilt and the changed row selected and
// shown. A file that cannot be read or written and a store that refuses a
// change are told to the user; nothing is stored then.
class PictureOperations : public QObject
{
    Q_OBJECT

public:
    explicit PictureOperations(MainWindow &window);

    void add();
    void replace();
    void rename();
    void deletePicture();
    void exportPicture();

private:
    std::optional<QString> pickFile(const QString &filter, const QString &initialName,
                                    FileDialogKind kind, const QString &title);
    // The bytes of the chosen file; nothing, after telling the user, when
    // the file cannot be read or is empty.
    std::optional<QByteArray> readPictureFile(const QString &path);
    bool hasSelection() const;
    // Moves the store to the selected row's record and gives its number;
    // nothing when no row is selected.
    std::optional<int> goToSelectedRecord();
    // Rebuilds the list and shows row, or the last row when the list has
    // become shorter, or the welcome state when it has become empty.
    void showRowAfterChange(int row);
    void reportError(const QString &text);

    MainWindow &m_window;
};
