#pragma once

#include "platform/platformexport.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text on disk and in records crossing a library boundary is Korean code page 949;
// everything inside a process is Unicode. These convert at that boundary.
namespace Platform {

/// Unicode → CP949 bytes. Characters the code page lacks become '?'.
TOVEL_PLATFORM_EXPORT QByteArray ToCp949(const QString &text);

/// CP949 bytes → Unicode.
TOVEL_PLATFORM_EXPORT QString FromCp949(QByteArrayView bytes);

/// The largest byte count not above `limit` that does not end in the middle of a
/// double-byte character of `bytes`.
TOVEL_PLATFORM_EXPORT qsizetype Cp949Fit(QByteArrayView bytes, qsizetype limit);

/// Removes leading and trailing blanks and control characters (code 32 and below).
TOVEL_PLATFORM_EXPORT QString TrimBlanks(const QString &text);

} // namespace Platform
