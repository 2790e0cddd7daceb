#include "common/gplib.h"

#include "common/fixedfield.h"
#include "platform/inifile.h"
#include "platform/programfolder.h"

#include <QStringList>

#include <cstring>

namespace GpLib {
namespace {

const QString User = QString::fromUtf16(UserSection);
const QString Db = QString::fromUtf16(DbSection);

} // namespace

QString IniPath()
{
    return Platform::ProgramFolder() + QStringLiteral("gp.ini");
}

TLoginValues ReadLoginValues(const QString &iniPath)
{
    const TIniFile ini(iniPath);
    TLoginValues values;
    values.UserId = ini.ReadString(User, QStringLiteral("user_id"));
    values.UserNm = ini.ReadString(User, QStringLiteral("user_nm"));
    values.ServerName = ini.ReadString(User, QStringLiteral("server_name"));
    values.ServerIp = ini.ReadString(User, QStringLiteral("server_ip"));
    values.DatabaseName = ini.ReadString(User, QStringLiteral("database_name"));
    values.ConnectUser = ini.ReadString(User, QStringLiteral("connect_user"));
    values.AliasName = ini.ReadString(User, QStringLiteral("alias_name"));
    values.ProgramAllow = ini.ReadString(User, QStringLiteral("program_allow"), QStringLiteral("n"));
    return values;
}

TUserKeys ReadUserKeys(const QString &iniPath)
{
    const TIniFile ini(iniPath);
    return TUserKeys{
        ini.ReadString(User, QStringLiteral("user_id")),
        ini.ReadString(User, QStringLiteral("user_nm")),
        ini.ReadString(User, QStringLiteral("user_sect")),
        ini.ReadString(User, QStringLiteral("user_place")),
        ini.ReadString(User, QStringLiteral("user_sect_nm")),
        ini.ReadString(User, QStringLiteral("user_place_nm")),
    };
}

bool WriteUserKeys(const TUserKeys &keys, const QString &iniPath)
{
    // One commit for the six keys: the file names either the new user or the old one,
    // never half of each.
    return TIniFile(iniPath).WriteStrings(User, {
        {QStringLiteral("user_id"), keys.UserId},
        {QStringLiteral("user_nm"), keys.UserNm},
        {QStringLiteral("user_sect"), keys.UserSect},
        {QStringLiteral("user_place"), keys.UserPlace},
        {QStringLiteral("user_sect_nm"), keys.UserSectNm},
        {QStringLiteral("user_place_nm"), keys.UserPlaceNm},
    });
}

TUserKeys UserKeysFromRecord(const TLoginInfo &info)
{
    return TUserKeys{
        ReadFixed(info.UserId),   ReadFixed(info.UserNm),     ReadFixed(info.UserSect),
        ReadFixed(info.UserPlace), ReadFixed(info.UserSectNm), ReadFixed(info.UserPlaceNm),
    };
}

TLoginInfo ReadLoginInfo(const QString &iniPath)
{
    const TUserKeys keys = ReadUserKeys(iniPath);
    TLoginInfo info;
    std::memset(&info, 0, sizeof info);
    CopyFixed(info.UserId, keys.UserId, 8);
    CopyFixed(info.UserNm, keys.UserNm, 10);
    CopyFixed(info.UserSect, keys.UserSect, 2);
    CopyFixed(info.UserPlace, keys.UserPlace, 2);
    CopyFixed(info.UserSectNm, keys.UserSectNm, 20);
    CopyFixed(info.UserPlaceNm, keys.UserPlaceNm, 20);
    return info;
}

QString ReadConnString(const QString &iniPath)
{
    return TIniFile(iniPath).ReadString(Db, QStringLiteral("CONNSTRING"));
}

bool WriteConnString(const QString &value, const QString &iniPath)
{
    return TIniFile(iniPath).WriteString(Db, QStringLiteral("CONNSTRING"), value);
}

Platform::TDbWaits ReadDbWaits(QString *problem, const QString &iniPath)
{
    Platform::TDbWaits waits;
    QStringList problems;
    const TIniFile ini(iniPath);
    const auto read = [&](const QString &key, int &seconds) {
        const QString text = ini.ReadString(Db, key).trimmed();
        if (text.isEmpty())
            return;
        bool ok = false;
        const int value = text.toInt(&ok);
        if (ok && value >= 1 && value <= 3600) {
            seconds = value;
            return;
        }
        problems << QStringLiteral("gp.ini [%1] %2=%3: 1에서 3600 사이의 초 수가 아니므로 %4초로 합니다.")
                        .arg(Db, key, text)
                        .arg(seconds);
    };
    read(QStringLiteral("CONNECT_TIMEOUT"), waits.ConnectSeconds);
    read(QStringLiteral("LOCK_TIMEOUT"), waits.LockSeconds);
    if (problem)
        *problem = problems.join(QLatin1Char('\n'));
    return waits;
}

} // namespace GpLib
