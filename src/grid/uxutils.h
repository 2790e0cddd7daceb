#pragma once

// Small routines shared by the grid library's units: minimum and maximum, margins, text
// metrics, tokens, and integer encodings of dates and times.

#include "grid/tabrixexport.h"

#include <QDate>
#include <QFont>
#include <QMargins>
#include <QRect>
#include <QString>
#include <QTime>

class QPaintDevice;

/// Days since 1899-12-30 plus the fraction of the day: the date-time of stored values.
using TDateTime = double;

TABRIX_EXPORT void TXErrBeep();
inline int IMax(int a, int b) { return a > b ? a : b; }
inline int IMin(int a, int b) { return a < b ? a : b; }
inline double DMax(double a, double b) { return a > b ? a : b; }
inline double DMin(double a, double b) { return a < b ? a : b; }

TABRIX_EXPORT bool TXIntersectRect(const QRect &a, const QRect &b);
/// All four sides of a margin rectangle := n.
TABRIX_EXPORT void TXInitMargin(QMargins &margins, int n);
/// left += m.left, top += m.top, right −= m.right, bottom −= m.bottom.
TABRIX_EXPORT void TXInflateMargins(QRect &rect, const QMargins &margins);

/// Height of the text laid out in the rect's width with Qt text flags.
TABRIX_EXPORT int TXGetStrHeight(const QFont &font, const QRect &rect, const QString &text, int flags);
TABRIX_EXPORT int TXGetStrWidth(const QFont &font, const QString &text);
TABRIX_EXPORT int TXGetCharHeight(const QFont &font);
/// The smaller of the font's and the system font's average character width.
TABRIX_EXPORT int TXGetCharWidth(const QFont &font);
TABRIX_EXPORT int TXGetCharMaxWidth(const QFont &font);

/// The text from `position` (1-based) up to the next ';'; `position` moves past it.
TABRIX_EXPORT QString TXExtractField(const QString &text, int &position);
/// Field n (0-based) of the text split at `separator`; empty when there are fewer fields.
TABRIX_EXPORT QString TXGetTocken(const QString &text, QChar separator, int n);

/// The width of the button embedded in a cell: the style's scroll-bar extent.
TABRIX_EXPORT int TXButtonWidth();
/// System folders have no meaning here: empty.
TABRIX_EXPORT QString TXGetWindowsDir();
TABRIX_EXPORT QString TXGetSystemDir();

TABRIX_EXPORT int TXThisYear();
TABRIX_EXPORT TDateTime TXDateOf(const QDate &date);
TABRIX_EXPORT QDate TXDateFrom(TDateTime value);
TABRIX_EXPORT TDateTime TXTimeOf(const QTime &time);
TABRIX_EXPORT QTime TXTimeFrom(TDateTime value);
/// yyyymmdd ↔ date.
TABRIX_EXPORT TDateTime TXIntToDate(int n);
TABRIX_EXPORT int TXDateToInt(TDateTime date);
/// hhmmss ↔ time (milliseconds dropped).
TABRIX_EXPORT TDateTime TXIntToTime(int n);
TABRIX_EXPORT int TXTimeToInt(TDateTime time);
TABRIX_EXPORT TDateTime TXEncodeDateTime(TDateTime date, TDateTime time);
TABRIX_EXPORT void TXDecodeDateTime(TDateTime value, TDateTime &date, TDateTime &time);
