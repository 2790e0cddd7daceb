#include "caller/logincheck.h"

#include "caller/udm.h"
#include "common/fixedfield.h"
#include "common/gplib.h"
#include "platform/texception.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

QString NoDatabaseText()
{
    return QStringLiteral("데이타베이스 서버 접속 오류 !!!");
}

namespace {

// The employee with the place name of the organisation row, if there is one. The
// employee number travels as a parameter, so a quote in it is an ordinary character.
const QString LoginSql = QStringLiteral(
    "SELECT U.PASSWORD, U.NAME, U.SECT, U.PLACE_CD, COALESCE(O.PLACE_NM,'') PLC_NM "
    "FROM SAASABUT U LEFT JOIN SAAORGAT O "
    "  ON U.SECT = O.SECT "
    "  AND U.PLACE_CD = O.PLACE_CD "
    "WHERE U.SABUN = ? ");

} // namespace

QString DepartmentName(const QString &sect)
{
    if (sect == QLatin1String("01"))
        return QStringLiteral("영업1부");
    if (sect == QLatin1String("02"))
        return QStringLiteral("영업2부");
    if (sect == QLatin1String("03"))
        return QStringLiteral("영업3부");
    if (sect == QLatin1String("99"))
        return QStringLiteral("업무부");
    return QStringLiteral("영업부");
}

TResultVal RunLoginCheck(TdmCaller &dm, TLoginInfo &info)
{
    TResultVal result;
    if (!dm.Connect()) {
        result.Code = 9;
        result.Msg = NoDatabaseText();
        return result;
    }

    const QString failure = dm.RunQuery(LoginSql, ReadFixed(info.UserId));
    if (!failure.isEmpty())
        throw TException(failure);
    QSqlQuery &query = dm.qryLogin();
    if (!query.next()) {
        query.finish();
        result.Code = 1;
        result.Msg = QStringLiteral("등록되지 않은 사용자입니다");
        return result;
    }
    if (FieldText(query, 0) != ReadFixed(info.Password)) {
        query.finish();
        result.Code = 2;
        result.Msg = QStringLiteral("비밀번호 오류입니다.");
        return result;
    }

    const QString sect = FieldText(query, 2);
    CopyFixed(info.UserNm, FieldText(query, 1), 10);
    CopyFixed(info.UserSect, sect, 2);
    CopyFixed(info.UserSectNm, DepartmentName(sect), 20);
    CopyFixed(info.UserPlace, FieldText(query, 3), 2);
    CopyFixed(info.UserPlaceNm, FieldText(query, 4), 20);

    // The main program takes its user from gp.ini: a login that could not record its
    // user would open the suite as the previous one.
    if (!GpLib::WriteUserKeys(GpLib::UserKeysFromRecord(info))) {
        result.Code = 9;
        result.Msg = QStringLiteral("사용자 정보를 설정 파일에 기록할 수 없습니다.\n%1").arg(GpLib::IniPath());
        return result;
    }
    result.Success = 1;
    return result;
}
