#include "config/AccountKeys.h"

#include "config/Accounts.h"
#include "config/PasswordDigest.h"
#include "seal/KeySlot.h"

std::optional<OpenedPassword> checkPassword(const QString &password, const QString &storedValue,
                                            const QString &account)
{
    if (!KeySlot::isSlot(storedValue)) {
        if (!passwordMatches(password, storedValue))
            return std::nullopt;
        return OpenedPassword{};
    }
    std::optional<KeySlot::Opened> opened = KeySlot::open(storedValue, password, account);
    if (!opened)
        return std::nullopt;
    return OpenedPassword{std::move(opened->libraryKey), std::move(opened->passwordKey)};
}

bool passwordMatchesAtOnce(const QString &password, const QString &storedValue, const TypedPassword &typedAtLogIn)
{
    if (KeySlot::isSlot(storedValue))
        return typedAtLogIn.matches(password);
    return passwordMatches(password, storedValue);
}

std::optional<SessionKeys> keysOfLogIn(const QString &configFilePath, const QString &account,
                                       const QString &password)
{
    const QString storedValue = readUserDigest(configFilePath, account).value_or(QString());
    std::optional<OpenedPassword> opened = checkPassword(password, storedValue, account);
    if (!opened)
        return std::nullopt;
    SessionKeys keys{std::move(opened->libraryKey), std::move(opened->passwordKey), TypedPassword(password)};
    if (!keys.accountKey && password != DefaultPassword)
        keys.accountKey = PasswordKey::derive(password);
    return keys;
}

PasswordValue valueForPassword(const QString &password, const QString &account,
                               std::shared_ptr<const LibraryKey> libraryKey)
{
    if (!libraryKey && password == DefaultPassword)
        return {passwordDigest(password), SessionKeys{nullptr, std::nullopt, TypedPassword(password)}};
    if (!libraryKey)
        libraryKey = LibraryKey::generate();
    const PasswordKey passwordKey = PasswordKey::derive(password);
    QString slot = KeySlot::make(*libraryKey, passwordKey, account);
    return {std::move(slot), SessionKeys{std::move(libraryKey), passwordKey, TypedPassword(password)}};
}
