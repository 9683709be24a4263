#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <optional>

class LibraryModel;

// What the five picture buttons of the main window do: add, replace,
// rename, delete and export. Each works on the record it is given (none for
// 0), reading its bytes from the store when it needs them; after a change
// the changed record is selected, so that the window shows it. A file that
// cannot be read or written and a store that refuses a change are told to
// the user with the reason; nothing is stored or written then.
class PictureOperations : public QObject
{
    Q_OBJECT

public:
    explicit PictureOperations(LibraryModel &library, QObject *parent = nullptr);

    void add();
    // Adds these files in this order, each in a commit of its own, as add
    // adds one; what cannot be added is told in one message at the end, and
    // the last one added is shown. Many files show progress, and a cancel
    // keeps what was added so far.
    void addFiles(const QStringList &paths);
    void replace(int record);
    // Takes the typed name without its spaces; a blank one changes nothing.
    void rename(int record, const QString &typedName);
    void deletePicture(int record);
    // Offers the typed name, as typed, for the exported file.
    void exportPicture(int record, const QString &typedName);

private:
    // The bytes of the chosen file; nothing, after telling the user, when
    // the file cannot be read, is empty or is too large to store.
    std::optional<QByteArray> readChosenFile(const QString &path);
    enum class AddDecision { Add, Skip, Cancel };
    // Skip when the same picture is in the library already and the user
    // chose to skip it; Cancel when the user cancelled the search.
    AddDecision mayAdd(const QString &path, const QByteArray &bytes);
    // Refuses a file the program holds, and asks before an existing file is
    // replaced; false when it must not be written.
    bool mayWrite(const QString &target);
    void reportError(const QString &text);

    LibraryModel &m_library;
};
