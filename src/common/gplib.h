#pragma once

#include "common/utypes.h"
#include "platform/oledb.h"

#include <QString>

// gp.ini, the settings file beside the programs, shared by the login program, the
// caller library and the main program.
namespace GpLib {

inline constexpr char16_t UserSection[] = u"기본정보";
inline constexpr char16_t DbSection[] = u"DBCONNECTION";

/// The program folder's gp.ini.
QString IniPath();

/// The values the login program keeps while its window is open.
struct TLoginValues
{
    QString UserId;
    QString UserNm;
    QString ServerName;
    QString ServerIp;
    QString DatabaseName;
    QString ConnectUser;
    QString AliasName;
    QString ProgramAllow;
};

/// The user keys that a successful login check writes, in writing order.
struct TUserKeys
{
    QString UserId;
    QString UserNm;
    QString UserSect;
    QString UserPlace;
    QString UserSectNm;
    QString UserPlaceNm;
};

/// Missing file or keys read as empty, with "n" for program_allow.
TLoginValues ReadLoginValues(const QString &iniPath = IniPath());

TUserKeys ReadUserKeys(const QString &iniPath = IniPath());

/// Writes the six user keys in one commit; false, with the file as it was, when it
/// could not be written.
bool WriteUserKeys(const TUserKeys &keys, const QString &iniPath = IniPath());

/// The user keys taken from a filled record (each field read up to its zero byte).
TUserKeys UserKeysFromRecord(const TLoginInfo &info);

/// A zeroed record filled from gp.ini's user keys at the widths the main program uses
/// (id 8, name 10, department and place 2, their names 20 bytes); the password stays empty.
TLoginInfo ReadLoginInfo(const QString &iniPath = IniPath());

/// The stored CONNSTRING, raw (still Base64); empty when missing.
QString ReadConnString(const QString &iniPath = IniPath());
bool WriteConnString(const QString &value, const QString &iniPath = IniPath());

/// CONNECT_TIMEOUT and LOCK_TIMEOUT of [DBCONNECTION], whole seconds from 1 to 3600
/// (5 and 10 when missing or empty). A value that is not such a number keeps its
/// default and is described in `problem` (empty when both are fine).
Platform::TDbWaits ReadDbWaits(QString *problem, const QString &iniPath = IniPath());

} // namespace GpLib
