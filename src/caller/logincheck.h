#pragma once

#include "common/utypes.h"

#include <QString>

class TdmCaller;

/// What a caller says when the database server cannot be reached.
QString NoDatabaseText();

/// The department name for a department code; anything unlisted, also empty, is "영업부".
QString DepartmentName(const QString &sect);

/// Checks `info` against the employee table and, on success, fills its name, department
/// and place fields and writes the user keys to gp.ini; a gp.ini that cannot be written
/// fails the check with code 9. A database error while the query runs throws
/// TException with the driver's text.
TResultVal RunLoginCheck(TdmCaller &dm, TLoginInfo &info);
