#pragma once

// The caller library's exports, for the suite's programs and for business modules.
//
// libZULCaller.so owns the process's one database connection. The login program loads
// it by path for each check; the main program links it. Every export runs on the
// calling program's window thread. Records are the fixed-layout ones of common/utypes.h.

#include "common/utypes.h"

#include <QSqlDatabase>

#if defined(ZULCALLER_LIBRARY)
#define ZULCALLER_EXPORT extern "C" __attribute__((visibility("default")))
#else
#define ZULCALLER_EXPORT extern "C"
#endif

/// Checks the user of `info` (UserId and Password filled) against the employee table.
/// Answers '0' accepted (gp.ini then holds the user keys), '1' unknown user, '2' wrong
/// password, '9' no database; the library shows its own message box for '1', '2', '9'.
ZULCALLER_EXPORT char CheckLoginInfo(TLoginInfo info);

/// Hands out the library's connection: `*connection` becomes a copy of it (copies share
/// one connection), or an invalid QSqlDatabase when the first connection failed.
ZULCALLER_EXPORT void ZUL_DB_CONNNECT(QSqlDatabase *connection);

/// Signatures for run-time look-up by name.
using TCheckLoginInfo = char (*)(TLoginInfo);
using TZulDbConnect = void (*)(QSqlDatabase *);
