#include "caller/usermenu.h"

#include "caller/udm.h"
#include "common/fixedfield.h"
#include "platform/cp949.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cstring>

namespace {

// Kind "P" programs come after the others of the same rank.
const QString UserMenuSql = QStringLiteral(
    "SELECT G.SYS_ID, P.DS_PROG, P.RANK_PROG, G.PROG_ID, P.PROG_NAME "
    "FROM SCMGROGT G "
    "JOIN SCMUSERT U ON G.GROP_ID = U.GROP_ID "
    "JOIN SCMPROGT P ON G.SYS_ID = P.SYS_ID AND G.PROG_ID = P.PROG_ID "
    "WHERE U.USER_ID = ? "
    "AND P.DT_DEL IS NULL "
    "ORDER BY G.SYS_ID, P.RANK_PROG, CASE WHEN P.DS_PROG = 'P' THEN 9 ELSE 1 END, G.PROG_ID ");

TMenuInfo MenuRow(const QSqlQuery &query)
{
    TMenuInfo info;
    std::memset(&info, 0, sizeof info);
    CopyFixed(info.SysId, FieldText(query, 0), 2);
    CopyFixed(info.DsProg, FieldText(query, 1), 1);
    CopyFixed(info.RankProg, FieldText(query, 2), 1);
    CopyFixed(info.ProgId, FieldText(query, 3), 5);
    CopyFixed(info.ProgName, FieldText(query, 4), 32);
    return info;
}

} // namespace

void SetMenuMessage(TMenuResult &result, const QString &text)
{
    const QByteArray bytes = Platform::ToCp949(text);
    const qsizetype count = Platform::Cp949Fit(bytes, sizeof result.Msg - 1);
    std::memset(result.Msg, 0, sizeof result.Msg);
    std::memcpy(result.Msg, bytes.constData(), static_cast<std::size_t>(count));
}

void RunUserMenuQuery(TdmCaller &dm, TMenuResult &result, const QString &userId, TMenuInfos &menuInfos)
{
    if (!dm.Connect()) {
        result.Code = '9';
        SetMenuMessage(result, QStringLiteral("데이타베이스 서버 접속 오류 !!!"));
        return;
    }
    const QString failure = dm.RunQuery(UserMenuSql, userId);
    if (!failure.isEmpty()) {
        result.Code = '9';
        SetMenuMessage(result, failure);
        return;
    }
    QSqlQuery &query = dm.qryLogin();
    TMenuInfos rows;
    while (query.next())
        rows.push_back(MenuRow(query));
    query.finish();
    if (rows.empty()) {
        TMenuInfos().swap(menuInfos);
        result.Code = '0';
        SetMenuMessage(result, QStringLiteral("관련 메뉴정보가 없습니다."));
        return;
    }
    menuInfos = std::move(rows);
    result.Code = '1';
}
