#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class SqliteDatabase;

// The picture table: one record per picture with the fields "图片名" (text),
// "图片类别" (text) and "图片" (bytes), numbered 1..n in storage order, with a
// single current record. Rows live in pic.edb; picture bytes live in the
// companion pic.EDT beside it, attached to the same connection so that every
// change to both files commits atomically.
class PictureStore
{
public:
    static inline const QString NameField = QStringLiteral("图片名");
    static inline const QString CategoryField = QStringLiteral("图片类别");
    static inline const QString PictureField = QStringLiteral("图片");

    enum class OpenResult { Opened, Created, Failed };

    struct NewRecord
    {
        QString name;
        QString category;
        QByteArray picture;
    };

    PictureStore();
    ~PictureStore();
    PictureStore(const PictureStore &) = delete;
    PictureStore &operator=(const PictureStore &) = delete;

    // Opens pic.edb at edbPath with pic.EDT beside it. When neither file
    // exists an empty store is created; files that exist but are not a
    // picture store are left untouched and Failed is returned.
    OpenResult openStore(const QString &edbPath);
    void closeStore();
    bool isOpen() const;
    QString lastError() const;

    int recordCount() const;
    void goFirst();
    void skipNext();
    bool isAfterLast() const;
    // 1-based; 0 when no record is current (empty store, past the end).
    int currentRecordNumber() const;
    // Returns false and keeps the position when n is not a record number.
    bool goToRecord(int n);

    // Text fields give a QString, "图片" a QByteArray; an unknown field or a
    // position past the end gives an invalid QVariant. Names are served from
    // memory; only "图片" reads the companion file.
    QVariant readField(QStringView fieldName) const;
    // Stores at once; false for an unknown field, a value of the wrong type,
    // a position past the end or a failed write (then nothing changed).
    bool writeField(QStringView fieldName, const QVariant &value);

    bool appendRecord(const QString &name, const QString &category, const QByteArray &picture);
    // Appends many records in one transaction (bulk import).
    bool appendRecords(const std::vector<NewRecord> &records);
    bool deleteCurrent();
    bool purgeDeleted();

    // Writes a consistent copy of the open store to edbPath and the
    // companion beside it, replacing copies that are there. Each file is
    // built under a temporary name first, so a failed copy leaves the
    // earlier copies whole.
    bool copyTo(const QString &edbPath);

private:
    struct Row
    {
        qint64 id = 0;
        QString name;
        QString category;
        bool deleted = false;
    };

    bool isPositionValid() const;
    OpenResult fail(const QString &message);
    bool createStore(const QString &edbPath, const QString &edtPath);
    bool openExisting(const QString &edbPath, const QString &edtPath);
    bool loadRows();
    bool copySchema(const char *schema, const QString &target);
    // Runs work as one transaction; on failure records what went wrong.
    bool commit(const QString &action, const std::function<bool()> &work);

    std::unique_ptr<SqliteDatabase> m_db;
    std::vector<Row> m_rows;
    // An index into m_rows; m_rows.size() or more means past the end.
    std::size_t m_position = 0;
    mutable QString m_lastError;
};
