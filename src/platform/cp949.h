#pragma once

#include "platform/platformexport.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Text on disk and in records crossing a library boundary is Korean code page 949;
// everything inside a process is Unicode. These convert at that boundary, and they are
// the only place in the suite that names a converter.
namespace Platform {

/// Microsoft's table of code page 949, the bytes a Windows workstation writes. Qt's
/// "CP949" is IBM's variant (byte 5C reads as the won sign, "\" writes as 82, extended
/// syllables such as 똠 write as AF FE), so it is never used.
inline constexpr char Cp949Codec[] = "windows-949";

/// Unicode → CP949 bytes. A character the code page lacks becomes '?'; `exact`, when
/// given, tells whether every character was mapped, so a caller that must not store a
/// different text can refuse instead.
TOVEL_PLATFORM_EXPORT QByteArray ToCp949(const QString &text, bool *exact = nullptr);

/// CP949 bytes → Unicode. A byte sequence the table cannot map (a lone lead byte, a
/// lead byte with an invalid trail byte, an unassigned pair) stays visible as U+FFFD;
/// it never turns into another valid character and never vanishes.
TOVEL_PLATFORM_EXPORT QString FromCp949(QByteArrayView bytes);

/// The largest byte count not above `limit` that does not end in the middle of a
/// double-byte character of `bytes`.
TOVEL_PLATFORM_EXPORT qsizetype Cp949Fit(QByteArrayView bytes, qsizetype limit);

/// Removes leading and trailing blanks and control characters (code 32 and below).
TOVEL_PLATFORM_EXPORT QString TrimBlanks(const QString &text);

} // namespace Platform
