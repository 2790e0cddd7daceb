#include "grid/uxutils.h"

#include <QApplication>
#include <QFontMetrics>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace {

const QDate Epoch(1899, 12, 30);
constexpr double MSecsPerDay = 86400000.0;

// A serial names a date only when it is a number within a billion days (some 2.7 million
// years) of the epoch; beyond that, converting it to a whole day count would be undefined.
bool NamesADate(TDateTime value)
{
    return std::isfinite(value) && std::fabs(value) < 1e9;
}

} // namespace

void TXErrBeep()
{
    QApplication::beep();
}

bool TXIntersectRect(const QRect &a, const QRect &b)
{
    return a.intersects(b);
}

void TXInitMargin(QMargins &margins, int n)
{
    margins = QMargins(n, n, n, n);
}

void TXInflateMargins(QRect &rect, const QMargins &margins)
{
    rect.setLeft(rect.left() + margins.left());
    rect.setTop(rect.top() + margins.top());
    rect.setRight(rect.right() - margins.right());
    rect.setBottom(rect.bottom() - margins.bottom());
}

int TXGetStrHeight(const QFont &font, const QRect &rect, const QString &text, int flags)
{
    return QFontMetrics(font).boundingRect(QRect(0, 0, IMax(rect.width(), 1), 1 << 20), flags, text).height();
}

int TXGetStrWidth(const QFont &font, const QString &text)
{
    return QFontMetrics(font).horizontalAdvance(text);
}

int TXGetCharHeight(const QFont &font)
{
    return QFontMetrics(font).height();
}

int TXGetCharWidth(const QFont &font)
{
    return IMin(QFontMetrics(font).averageCharWidth(), QFontMetrics(QApplication::font()).averageCharWidth());
}

int TXGetCharMaxWidth(const QFont &font)
{
    return IMin(QFontMetrics(font).maxWidth(), QFontMetrics(QApplication::font()).maxWidth());
}

QString TXExtractField(const QString &text, int &position)
{
    const qsizetype start = qMax(0, position - 1);
    qsizetype end = text.indexOf(QLatin1Char(';'), start);
    if (end < 0)
        end = text.size();
    position = static_cast<int>(end + 2);
    return text.mid(start, end - start);
}

QString TXGetTocken(const QString &text, QChar separator, int n)
{
    if (n < 0)
        return {};
    const QStringList fields = text.split(separator);
    return n < fields.size() ? fields.at(n) : QString();
}

int TXButtonWidth()
{
    return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

QString TXGetWindowsDir()
{
    return {};
}

QString TXGetSystemDir()
{
    return {};
}

int TXThisYear()
{
    return QDate::currentDate().year();
}

TDateTime TXDateOf(const QDate &date)
{
    return static_cast<TDateTime>(Epoch.daysTo(date));
}

QDate TXDateFrom(TDateTime value)
{
    if (!NamesADate(value))
        return {};
    return Epoch.addDays(static_cast<qint64>(std::floor(value)));
}

TDateTime TXTimeOf(const QTime &time)
{
    return time.msecsSinceStartOfDay() / MSecsPerDay;
}

QTime TXTimeFrom(TDateTime value)
{
    // Parts of a millisecond are dropped, never rounded into the next second (or past
    // midnight into the next day). Only the serial's own binary error, a fraction of a
    // millisecond near the exact value, is absorbed, so 10:00 stays 10:00:00.000.
    // The serial counts on through the epoch: -1.75 is 06:00 on the day -2, so the time of
    // day is what lies above the day's floor, before the epoch as after it.
    if (!NamesADate(value))
        return {};
    const double fraction = value - std::floor(value);
    const double slack = std::max(1e-3, std::fabs(value) * 4e-16 * MSecsPerDay);
    const auto msecs = static_cast<long long>(std::floor(fraction * MSecsPerDay + slack));
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(std::min(msecs, 86399999LL)));
}

TDateTime TXIntToDate(int n)
{
    return TXDateOf(QDate(n / 10000, n / 100 % 100, n % 100));
}

int TXDateToInt(TDateTime date)
{
    const QDate d = TXDateFrom(date);
    return d.year() * 10000 + d.month() * 100 + d.day();
}

TDateTime TXIntToTime(int n)
{
    return TXTimeOf(QTime(n / 10000, n / 100 % 100, n % 100));
}

int TXTimeToInt(TDateTime time)
{
    const QTime t = TXTimeFrom(time);
    return t.hour() * 10000 + t.minute() * 100 + t.second();
}

TDateTime TXEncodeDateTime(TDateTime date, TDateTime time)
{
    return std::floor(date) + (time - std::floor(time));
}

void TXDecodeDateTime(TDateTime value, TDateTime &date, TDateTime &time)
{
    date = std::floor(value);
    time = value - date;
}
