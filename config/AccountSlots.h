#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// The identifiers of the library keys that the key slots in the stored
// bytes of an account file record, one per account with a slot; empty for
// a file without slots or one that does not open.
QList<QByteArray> slotKeyIdentifiers(QByteArrayView storedFile);
