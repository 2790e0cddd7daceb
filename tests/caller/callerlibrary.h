#pragma once

#include "caller/ZULCaller.h"
#include "testdatabase.h"
#include "testsupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

/// A program folder of the test's own (gp.ini, the SQLite file) in which the caller
/// library is loaded by path, called and unloaded, as the login program does it.
class CallerTest : public ::testing::TestWithParam<TestDatabase::Backend>
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString IniPath() const;
    /// Stores `raw` as CONNSTRING as it stands (not encoded).
    void StoreConnString(const QString &raw);
    void StoreConnectionString(const QString &connectionString);
    /// Loads the library, calls CheckLoginInfo once with a record built like the
    /// login program builds it, and unloads the library.
    char Check(const QString &userId, const QString &password);
    /// "user_id|user_nm|user_sect|user_place|user_sect_nm|user_place_nm" of gp.ini.
    QString UserKeys() const;

    QTemporaryDir m_dir;
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<MessageBoxRecorder> m_boxes;
};

/// The library loaded by path for the lifetime of the object.
class LoadedCaller
{
public:
    LoadedCaller();
    ~LoadedCaller();
    bool IsLoaded() const;
    TCheckLoginInfo CheckLoginInfo() const;
    TZulDbConnect DbConnect() const;
    TZulGetUserMenu GetUserMenu() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

QString BackendTestName(const ::testing::TestParamInfo<TestDatabase::Backend> &info);

#define TOVEL_INSTANTIATE_BACKENDS(Suite)                                                                              \
    INSTANTIATE_TEST_SUITE_P(Databases, Suite,                                                                         \
                             ::testing::Values(TestDatabase::Backend::SQLite, TestDatabase::Backend::PostgreSQL),      \
                             [](const auto &info) { return BackendTestName(info).toStdString(); })
