#include "mainwindow/LibrarySealing.h"

#include "config/Accounts.h"
#include "mainwindow/LibraryModel.h"
#include "mainwindow/MainWindowLog.h"
#include "mainwindow/RecoveryKeyWindow.h"
#include "mainwindow/SealingTexts.h"
#include "maintenance/UserInfoBackup.h"
#include "reasons/ReasonSentence.h"
#include "seal/KeySlot.h"
#include "seal/RecoveryKey.h"
#include "toolkit/MessageBox.h"
#include "toolkit/ProgressDialog.h"
#include "toolkit/ToolkitTexts.h"

namespace {

// Pictures sealed in one commit: few enough that a crash loses little work.
constexpr int Batch = 32;

}

LibrarySealing::LibrarySealing(LibraryModel &library, Session session, QWidget *window)
    : m_library(library)
    , m_session(std::move(session))
    , m_window(window)
{
}

LibrarySealing::Outcome LibrarySealing::settle()
{
    const PictureStore &store = m_library.store();
    if (!store.isOpen())
        return Outcome::Open;
    if (store.isSealed()) {
        if (store.isLocked() && unlock() == Outcome::Close)
            return Outcome::Close;
        convert();
        return Outcome::Open;
    }
    if (!m_session.keys->libraryKey && m_session.keys->accountKey)
        makeLibraryKey();
    if (m_session.keys->libraryKey)
        seal();
    return Outcome::Open;
}

LibrarySealing::Outcome LibrarySealing::unlock()
{
    const std::shared_ptr<const LibraryKey> key = m_session.keys->libraryKey;
    if (!key || key->identifier() != m_library.store().keyIdentifier())
        return recover();
    if (const auto unlocked = m_library.unlock(key); !unlocked) {
        messageBox(SealingText::LibraryLocked.arg(reasonSentence(unlocked.error())), MessageKind::Stop,
                   ToolkitText::ErrorTitle);
        return Outcome::Close;
    }
    return Outcome::Open;
}

LibrarySealing::Outcome LibrarySealing::recover()
{
    qCInfo(lcMainWindow) << "the account's password does not open the sealed library";
    QString typed;
    QString message;
    for (;;) {
        switch (RecoveryKeyWindow::askForKey(m_session.userName, message, typed, m_window)) {
        case RecoveryKeyWindow::Choice::Quit:
            return Outcome::Close;
        case RecoveryKeyWindow::Choice::RestoreUserInfo:
            // A restore ends the run, as it does from the menu: the next
            // log-in reads the restored accounts.
            if (restoreUserInfo(m_session, m_library.store()))
                return Outcome::Close;
            message.clear();
            continue;
        case RecoveryKeyWindow::Choice::Key:
            break;
        }
        const std::optional<RecoveryKey> recovery = RecoveryKey::parse(typed);
        const std::shared_ptr<const LibraryKey> key = recovery ? recovery->open(m_library.store().recoverySlot())
                                                               : nullptr;
        message = !recovery ? SealingText::NotARecoveryKey : SealingText::WrongRecoveryKey;
        if (!key)
            continue;
        m_session.keys->libraryKey = key;
        giveAccountSlot(key, SealingText::SlotNotUpgraded);
        return unlock();
    }
}

void LibrarySealing::makeLibraryKey()
{
    const std::shared_ptr<const LibraryKey> key = LibraryKey::generate();
    if (giveAccountSlot(key, SealingText::SlotNotWritten))
        m_session.keys->libraryKey = key;
}

bool LibrarySealing::giveAccountSlot(const std::shared_ptr<const LibraryKey> &key, const QString &failure)
{
    SessionKeys &keys = *m_session.keys;
    // Without a key of its own the account logged in with the published
    // default password.
    if (!keys.accountKey)
        keys.accountKey = PasswordKey::derive(DefaultPassword);
    const QString slot = KeySlot::make(*key, *keys.accountKey, m_session.userName);
    if (const auto written = writeUserDigest(m_session.configFilePath, m_session.userName, slot); !written) {
        messageBox(failure.arg(reasonSentence(written.error())), MessageKind::Warning, ToolkitText::ErrorTitle);
        return false;
    }
    return true;
}

void LibrarySealing::seal()
{
    const std::shared_ptr<const LibraryKey> key = m_session.keys->libraryKey;
    const RecoveryKey recovery = RecoveryKey::generate();
    // Shown before the library depends on it: a crash before the seal only
    // means another key is shown at the next log-in.
    RecoveryKeyWindow::showNewKey(recovery.text(), m_window);
    if (const auto sealed = m_library.store().seal(key, recovery.wrap(*key)); !sealed) {
        messageBox(SealingText::SealingFailed.arg(reasonSentence(sealed.error())), MessageKind::Warning,
                   ToolkitText::ErrorTitle);
        return;
    }
    convert();
}

void LibrarySealing::convert()
{
    PictureStore &store = m_library.store();
    const qint64 total = store.unsealedCount();
    if (total == 0)
        return;
    {
        ProgressDialog progress(SealingText::SealingLabel);
        while (store.unsealedCount() > 0) {
            if (!progress.step(total - store.unsealedCount(), total)) {
                messageBox(SealingText::SealingPaused, MessageKind::Information, SealingText::RecoveryTitle);
                return;
            }
            if (const auto sealed = store.sealSome(Batch); !sealed) {
                messageBox(SealingText::SealingFailed.arg(reasonSentence(sealed.error())), MessageKind::Warning,
                           ToolkitText::ErrorTitle);
                return;
            }
        }
        progress.step(total, total);
    }
    ProgressDialog compacting(SealingText::CompactingLabel);
    compacting.step(0, 1);
    if (const auto compacted = store.compact(); !compacted)
        qCWarning(lcMainWindow).noquote() << "the sealed library was not compacted:" << reasonSentence(compacted.error());
}
