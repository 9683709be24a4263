#include "TestProgram.h"

#include "config/ConfigPaths.h"
#include "config/DerivedKeyCache.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace Qt::StringLiterals;

TestProgram::TestProgram()
{
    m_programDirectory.emplace(m_directory.path());
}

QString TestProgram::directory() const
{
    return m_directory.path();
}

QString TestProgram::filePath(const QString &name) const
{
    return QDir(m_directory.path()).filePath(name);
}

ScriptedResponder &TestProgram::responder()
{
    return m_responder;
}

Session TestProgram::session() const
{
    return {configFilePathIn(m_directory.path()), u"管理员"_s};
}

void TestProgram::createLibrary(const std::vector<PictureStore::NewRecord> &records)
{
    PictureStore store;
    ASSERT_TRUE(store.open(filePath(u"pic.edb"_s)));
    ASSERT_TRUE(store.append(records));
}

void TestProgram::forgetCaches()
{
    DerivedKeyCache::clear();
}
