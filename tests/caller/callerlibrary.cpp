#include "callerlibrary.h"

#include "common/base64.h"
#include "common/fixedfield.h"
#include "common/gplib.h"

#include <QDir>
#include <QLibrary>

#include <cstring>

struct LoadedCaller::Private
{
    QLibrary library{qEnvironmentVariable("TOVEL_PROGRAM_BIN") + QStringLiteral("/libZULCaller.so")};
};

LoadedCaller::LoadedCaller()
    : d(std::make_unique<Private>())
{
    d->library.load();
}

LoadedCaller::~LoadedCaller()
{
    d->library.unload();
}

bool LoadedCaller::IsLoaded() const
{
    return d->library.isLoaded();
}

TCheckLoginInfo LoadedCaller::CheckLoginInfo() const
{
    return reinterpret_cast<TCheckLoginInfo>(d->library.resolve("CheckLoginInfo"));
}

TZulDbConnect LoadedCaller::DbConnect() const
{
    return reinterpret_cast<TZulDbConnect>(d->library.resolve("ZUL_DB_CONNNECT"));
}

TZulGetUserMenu LoadedCaller::GetUserMenu() const
{
    return reinterpret_cast<TZulGetUserMenu>(d->library.resolve("ZUL_GET_USER_MENU"));
}

QString BackendTestName(const ::testing::TestParamInfo<TestDatabase::Backend> &info)
{
    return TestDatabase::BackendName(info.param);
}

void CallerTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    qputenv("TOVEL_PROGRAM_DIR", QFile::encodeName(m_dir.path()));
    m_db = std::make_unique<TestDatabase>(GetParam(), m_dir.path());
    if (!m_db->Available())
        GTEST_SKIP() << "no PostgreSQL server was started for this run";
    ASSERT_EQ(m_db->Reset(), QString());
    StoreConnectionString(m_db->ConnectionString());
    m_boxes = std::make_unique<MessageBoxRecorder>();
}

void CallerTest::TearDown()
{
    m_boxes.reset();
    qunsetenv("TOVEL_PROGRAM_DIR");
}

QString CallerTest::IniPath() const
{
    return m_dir.filePath(QStringLiteral("gp.ini"));
}

void CallerTest::StoreConnString(const QString &raw)
{
    ASSERT_TRUE(GpLib::WriteConnString(raw, IniPath()));
}

void CallerTest::StoreConnectionString(const QString &connectionString)
{
    StoreConnString(EncodeBase64Text(connectionString));
}

char CallerTest::Check(const QString &userId, const QString &password)
{
    LoadedCaller caller;
    EXPECT_TRUE(caller.IsLoaded());
    const TCheckLoginInfo check = caller.CheckLoginInfo();
    EXPECT_NE(check, nullptr);
    if (!check)
        return 0;
    TLoginInfo info;
    std::memset(&info, 0, sizeof info);
    CopyFixed(info.UserId, userId, 8);
    CopyFixed(info.Password, password, 6);
    return check(info);
}

QString CallerTest::UserKeys() const
{
    const GpLib::TUserKeys keys = GpLib::ReadUserKeys(IniPath());
    return QStringList{keys.UserId, keys.UserNm, keys.UserSect, keys.UserPlace, keys.UserSectNm, keys.UserPlaceNm}
        .join(QLatin1Char('|'));
}
