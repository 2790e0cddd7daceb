#include "common/gplib.h"
#include "platform/cp949.h"
#include "testsupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class GpLibTest : public ::testing::Test
{
protected:
    QString Path() const { return m_dir.filePath(QStringLiteral("gp.ini")); }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(GpLibTest, MissingFileReadsAsEmptyWithProgramAllowN)
{
    const GpLib::TLoginValues values = GpLib::ReadLoginValues(Path());
    EXPECT_TRUE(values.UserId.isEmpty());
    EXPECT_TRUE(values.ServerIp.isEmpty());
    EXPECT_EQ(values.ProgramAllow, QStringLiteral("n"));
    EXPECT_TRUE(GpLib::ReadConnString(Path()).isEmpty());
}

TEST_F(GpLibTest, UserKeysRoundTripInCp949AndKeepForeignKeys)
{
    WriteFileBytes(Path(), Platform::ToCp949(QStringLiteral(
        "[기본정보]\r\nserver_name=본사\r\nprogram_allow=y\r\n[DBCONNECTION]\r\nCONNSTRING=UHJvdmlkZXI9U1FMaXRl\r\n")));
    const GpLib::TUserKeys keys{QStringLiteral("1001"), QStringLiteral("홍길동"), QStringLiteral("99"),
                                QStringLiteral("10"), QStringLiteral("업무부"), QStringLiteral("서울지점")};
    ASSERT_TRUE(GpLib::WriteUserKeys(keys, Path()));

    const GpLib::TUserKeys back = GpLib::ReadUserKeys(Path());
    EXPECT_EQ(back.UserId, keys.UserId);
    EXPECT_EQ(back.UserNm, keys.UserNm);
    EXPECT_EQ(back.UserSect, keys.UserSect);
    EXPECT_EQ(back.UserPlace, keys.UserPlace);
    EXPECT_EQ(back.UserSectNm, keys.UserSectNm);
    EXPECT_EQ(back.UserPlaceNm, keys.UserPlaceNm);

    const GpLib::TLoginValues values = GpLib::ReadLoginValues(Path());
    EXPECT_EQ(values.ServerName, QStringLiteral("본사"));
    EXPECT_EQ(values.ProgramAllow, QStringLiteral("y"));
    EXPECT_EQ(GpLib::ReadConnString(Path()), QStringLiteral("UHJvdmlkZXI9U1FMaXRl"));
    EXPECT_TRUE(ReadFileBytes(Path()).contains(Platform::ToCp949(QStringLiteral("user_nm=홍길동\r\n"))));
}

TEST_F(GpLibTest, LoginRecordFromFileCutsEachKeyToItsWidth)
{
    const GpLib::TUserKeys keys{QStringLiteral("123456789"), QStringLiteral("가나다라마바"), QStringLiteral("012"),
                                QStringLiteral("ABC"), QStringLiteral("영업1부"), QString()};
    ASSERT_TRUE(GpLib::WriteUserKeys(keys, Path()));
    const TLoginInfo info = GpLib::ReadLoginInfo(Path());
    const GpLib::TUserKeys fromRecord = GpLib::UserKeysFromRecord(info);
    EXPECT_EQ(fromRecord.UserId, QStringLiteral("12345678"));
    EXPECT_EQ(fromRecord.UserNm, QStringLiteral("가나다라마"));
    EXPECT_EQ(fromRecord.UserSect, QStringLiteral("01"));
    EXPECT_EQ(fromRecord.UserPlace, QStringLiteral("AB"));
    EXPECT_EQ(fromRecord.UserSectNm, QStringLiteral("영업1부"));
    EXPECT_TRUE(fromRecord.UserPlaceNm.isEmpty());
    EXPECT_EQ(info.Password[0], 0);
}
