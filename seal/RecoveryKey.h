#pragma once

#include "seal/LibraryKey.h"

#include <QString>

#include <memory>
#include <optional>

// The recovery key of a sealed library: 160 random bits shown once to the
// user as 32 letters and digits in groups of four, from which a key is
// derived that wraps the library key in the recovery slot kept in pic.edb:
//   lumbra-recovery-1$<identifier>$<wrapped>
class RecoveryKey
{
public:
    static RecoveryKey generate();
    // What the user typed: case, spaces and dashes do not matter, and O,
    // I and L read as 0, 1 and 1. Nothing when it is no recovery key.
    static std::optional<RecoveryKey> parse(const QString &typed);

    // "ABCD-EFGH-…", eight groups of four.
    QString text() const;

    QString wrap(const LibraryKey &key) const;
    // Nothing when this is not the recovery key of that slot.
    std::shared_ptr<const LibraryKey> open(const QString &slot) const;

private:
    explicit RecoveryKey(const SecretKey &wrappingKey, QString text);

    SecretKey m_wrappingKey;
    QString m_text;
};
