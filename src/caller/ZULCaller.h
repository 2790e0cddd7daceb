#pragma once

// The caller library's exports, for the suite's programs and for business modules.
//
// libZULCaller.so owns the process's one database connection. The login program loads
// it by path for each check; the main program links it. Every export runs on the
// calling program's window thread. Records are the fixed-layout ones of common/utypes.h.

#include "caller/TovelModule.h"
#include "common/utypes.h"

#include <QSqlDatabase>

/// Checks the user of `info` (UserId and Password filled) against the employee table.
/// Answers '0' accepted (gp.ini then holds the user keys), '1' unknown user, '2' wrong
/// password, '9' no database; the library shows its own message box for '1', '2', '9'.
ZULCALLER_EXPORT char CheckLoginInfo(TLoginInfo info);

/// Hands out the library's connection: `*connection` becomes a copy of it (copies share
/// one connection), or an invalid QSqlDatabase when the first connection failed.
ZULCALLER_EXPORT void ZUL_DB_CONNNECT(QSqlDatabase *connection);

/// The programs the user's group may run, in menu order (system, rank, kind "P" after
/// the others, program id). `result` is zeroed by the caller; `userId` is a 9-byte
/// field (TLoginInfo::UserId); `menuInfos` is passed empty. Code '1' rows returned, '0'
/// none (the array emptied, Msg "관련 메뉴정보가 없습니다."), '9' no database (array
/// untouched). ZUL_DB_CONNNECT is called first.
ZULCALLER_EXPORT void ZUL_GET_USER_MENU(TMenuResult *result, const char *userId, TMenuInfos *menuInfos);

/// Signatures for run-time look-up by name.
using TCheckLoginInfo = char (*)(TLoginInfo);
using TZulDbConnect = void (*)(QSqlDatabase *);
using TZulGetUserMenu = void (*)(TMenuResult *, const char *, TMenuInfos *);
