#pragma once

#include "ScriptedResponder.h"
#include "config/Session.h"
#include "store/PictureStore.h"
#include "toolkit/ProgramDirectory.h"

#include <QTemporaryDir>

#include <optional>

// One run of the program in a folder of its own: a fresh program directory
// and a responder that answers every dialog.
class TestProgram
{
public:
    TestProgram();

    QString directory() const;
    QString filePath(const QString &name) const;
    ScriptedResponder &responder();
    // The session of the default account, 管理员, logged in here.
    Session session() const;

    // Writes a picture library with these records into the program directory.
    void createLibrary(const std::vector<PictureStore::NewRecord> &records);

    // Forgets everything the process remembers between starts (derived
    // keys), so that what follows sees the files as the next start of the
    // program does.
    static void forgetCaches();

private:
    QTemporaryDir m_directory;
    std::optional<ScopedProgramDirectory> m_programDirectory;
    ScriptedResponder m_responder;
};
