#pragma once

// Internal: texts measured in code page 949 bytes, the unit the company's database sizes
// its text fields in. Not installed.

#include <QString>

/// The bytes of `text` in code page 949: two for a Hangul syllable, one for ASCII and for
/// a character the code page lacks (it is written as '?').
int TXCp949Size(const QString &text);

/// The longest head of `text` that takes at most `width` bytes; a cut keeps whole
/// characters (a pair of surrogates included).
QString TXCp949Left(const QString &text, int width);
