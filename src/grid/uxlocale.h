#pragma once

// The one locale object through which every text conversion of the grid library goes:
// decimal separator, date and time separators and formats. Tests and programs may set it.
// Parse failures throw TException with the text of a conversion error.

#include "grid/uxutils.h"

#include <QMetaType>
#include <QString>
#include <QVariant>

/// A date-time value in a variant: the serial (days since 1899-12-30, fraction = time).
struct TwDateValue
{
    TDateTime Serial = 0;
    bool operator==(const TwDateValue &) const = default;
};
Q_DECLARE_METATYPE(TwDateValue)

struct TABRIX_EXPORT TwLocale
{
    QChar DecimalSeparator = QLatin1Char('.');
    QChar ThousandSeparator = QLatin1Char(',');
    QChar DateSeparator = QLatin1Char('-');
    QChar TimeSeparator = QLatin1Char(':');
    /// Patterns in the components' notation: yyyy, mm, dd; hh, nn (or mm after hh), ss, zzz.
    QString ShortDateFormat = QStringLiteral("yyyy-mm-dd");
    QString LongTimeFormat = QStringLiteral("hh:nn:ss");

    /// The process-wide locale.
    static TwLocale &Current();
};

TABRIX_EXPORT QVariant TXDateVariant(TDateTime serial);
TABRIX_EXPORT bool TXIsDateVariant(const QVariant &value);

/// Shortest general text with at most 15 significant digits ("2.5", "1E20", "0").
TABRIX_EXPORT QString TXFloatToText(double value);
TABRIX_EXPORT double TXTextToFloat(const QString &text);
TABRIX_EXPORT qint64 TXTextToInt(const QString &text);
TABRIX_EXPORT QString TXDateToText(TDateTime value);
TABRIX_EXPORT QString TXTimeToText(TDateTime value);
/// Short date, a blank and long time; the time is left out at midnight.
TABRIX_EXPORT QString TXDateTimeToText(TDateTime value);
TABRIX_EXPORT TDateTime TXTextToDate(const QString &text);
TABRIX_EXPORT TDateTime TXTextToTime(const QString &text);
TABRIX_EXPORT TDateTime TXTextToDateTime(const QString &text);

/// A number through a numeric pattern: '0' digit, '#' optional digit, ',' thousands,
/// '.' decimal point, quoted or other literal text; up to three sections split by ';'
/// (positive; negative; zero).
TABRIX_EXPORT QString TXFormatFloat(const QString &pattern, double value);
/// Whether a numeric pattern asks for an exponent ("0.00E+00"), which TXFormatFloat does not
/// support: its letters would show as text.
TABRIX_EXPORT bool TXHasExponent(const QString &pattern);
/// A date-time through a pattern of yyyy, yy, m, mm, mmm, d, dd, h, hh, n, nn, s, ss,
/// zzz and AM/PM; "m" right after an hour means minutes. Quoted text stays as it is.
TABRIX_EXPORT QString TXFormatDateTime(const QString &pattern, TDateTime value);
/// A text through an input mask "mask;keep;blank" ('0' '9' '#' 'L' 'l' 'A' 'a' 'C' 'c'
/// take characters of the text; other characters are literals, inserted unless keep is 1).
TABRIX_EXPORT QString TXFormatMaskText(const QString &mask, const QString &text);
/// A pattern with "%s" (and "%%") filled with the text.
TABRIX_EXPORT QString TXFormatText(const QString &pattern, const QString &text);
