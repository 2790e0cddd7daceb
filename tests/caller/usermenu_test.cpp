#include "callerlibrary.h"

#include "common/fixedfield.h"
#include "platform/cp949.h"

#include <cstring>

namespace {

struct MenuCall
{
    char code = 0;
    QString message;
    QString rows;
};

QString RowText(const TMenuInfo &row)
{
    return QStringList{ReadFixed(row.SysId), ReadFixed(row.ProgId), ReadFixed(row.DsProg), ReadFixed(row.RankProg),
                       ReadFixed(row.ProgName)}
        .join(QLatin1Char(' '));
}

} // namespace

class TUserMenuQuery : public CallerTest
{
protected:
    MenuCall Query(const QString &userId, TMenuInfos &infos)
    {
        LoadedCaller caller;
        QSqlDatabase connection;
        caller.DbConnect()(&connection);
        TMenuResult result;
        std::memset(&result, 0, sizeof result);
        TLoginInfo info;
        std::memset(&info, 0, sizeof info);
        CopyFixed(info.UserId, userId, 8);
        caller.GetUserMenu()(&result, info.UserId, &infos);
        MenuCall call{result.Code, Platform::FromCp949(QByteArrayView(result.Msg, qstrnlen(result.Msg, 256))), {}};
        QStringList rows;
        for (const TMenuInfo &row : infos)
            rows << RowText(row);
        call.rows = rows.join(QLatin1Char('\n'));
        return call;
    }
};

TEST_P(TUserMenuQuery, RowsComeInMenuOrderWithoutWithdrawnProgramsAndCutToTheirWidths)
{
    TMenuInfos infos;
    const MenuCall call = Query(QStringLiteral("1001"), infos);
    EXPECT_EQ(call.code, '1');
    EXPECT_EQ(call.message, QString());
    EXPECT_EQ(call.rows, QStringLiteral("AA SA01E E 1 사원등록\n"
                                        "AA SA02E E 1 부서등록\n"
                                        "AA SA09P P 1 사원명부출력\n"
                                        "BB SB01B E 1 판매관리\n"
                                        "J2 J260E E 1 일일판매입력\n"
                                        "J2 J280E E 1 출하입력\n"
                                        "J2 J202P P 1 일일판매현황\n"
                                        "J2 J204P P 1 출하현황\n"
                                        "J2 J210P P 2 월별판매현황\n"
                                        "J2 J216P P 2 기간별판매현황\n"
                                        "J3 J311E E 1 보조장부입력\n"
                                        "J3 J312E E 1 보조업무 세부 내역서 작성 및 조\n"
                                        "J3 J380P P 1 출하자조회\n"
                                        "J3 J399E E 2 신규보조업무\n"

                                        "J4 J510P P 1 월간보고서\n"
                                        "J4 J512P P 1 연간보고서\n"
                                        "JZ J290P P 1 정산서출력\n"
                                        "ZZ CC02E E 1 미사용시스템"));
    for (const TMenuInfo &row : infos)
        EXPECT_EQ(row.ProgName[32], 0) << "every field ends in a zero byte";
    EXPECT_EQ(m_boxes->Summary(), QString());
}

TEST_P(TUserMenuQuery, ATwoDigitRankKeepsItsFirstDigit)
{
    ASSERT_EQ(m_db->Reset({QStringLiteral("UPDATE SCMPROGT SET RANK_PROG = '12' WHERE PROG_ID = 'J216P'")}), QString());
    TMenuInfos infos;
    const QString rows = Query(QStringLiteral("1001"), infos).rows;
    EXPECT_TRUE(rows.contains(QStringLiteral("J2 J216P P 1 기간별판매현황"))) << rows.toStdString();
}

TEST_P(TUserMenuQuery, NoPermittedProgramsEmptiesTheArray)
{
    for (const QString &user : {QStringLiteral("1002"), QStringLiteral("   "), QStringLiteral("x'y")}) {
        TMenuInfos infos(3);
        const MenuCall call = Query(user, infos);
        EXPECT_EQ(call.code, '0') << user.toStdString();
        EXPECT_EQ(call.message, QStringLiteral("관련 메뉴정보가 없습니다."));
        EXPECT_TRUE(infos.empty());
    }
}

TEST_P(TUserMenuQuery, NoConnectionLeavesTheArrayUntouched)
{
    StoreConnectionString(GetParam() == TestDatabase::Backend::SQLite
                              ? QStringLiteral("Provider=SQLite;Data Source=gone.db")
                              : QStringLiteral("Provider=PostgreSQL;Data Source=127.0.0.1:1/x;User ID=x;Password=y"));
    TMenuInfos infos(2);
    const MenuCall call = Query(QStringLiteral("1001"), infos);
    EXPECT_EQ(call.code, '9');
    EXPECT_EQ(call.message, QStringLiteral("데이타베이스 서버 접속 오류 !!!"));
    EXPECT_EQ(infos.size(), 2u);
}

TOVEL_INSTANTIATE_BACKENDS(TUserMenuQuery);
