#include "grid/support/uxnedit_p.h"

#include "grid/uxlocale.h"

namespace UXNEdit {

QString FormatRaw(double absValue, int precision)
{
    return QString::number(absValue, 'f', precision);
}

int SignificantDigits(const QString &raw)
{
    // From the first non-zero digit to the last: leading zeros and the zeros that only pad
    // the decimals say nothing about the value.
    qsizetype first = -1;
    int digitsBefore = 0; // digits up to and including the last non-zero one
    int digitsAtFirst = 0;
    int digits = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar ch = raw.at(i);
        if (!ch.isDigit())
            continue;
        ++digits;
        if (ch == QLatin1Char('0'))
            continue;
        if (first < 0) {
            first = i;
            digitsAtFirst = digits;
        }
        digitsBefore = digits;
    }
    return first < 0 ? 0 : digitsBefore - digitsAtFirst + 1;
}

double RawValue(const QString &raw)
{
    return raw.isEmpty() ? 0.0 : raw.toDouble();
}

bool IsDigit(QChar ch)
{
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

TwDisplay MakeDisplay(const QString &raw, int precision, bool thousandSep)
{
    TwDisplay display;
    const int length = static_cast<int>(raw.size());
    display.RawToDisplay.assign(length + 1, 0);
    if (raw.isEmpty())
        return display;
    const int point = precision > 0 ? length - precision - 1 : length;
    const TwLocale &locale = TwLocale::Current();
    // Leading zeros the user typed stay in front; only the digits after them are grouped.
    int zeros = 0;
    while (zeros < point - 1 && raw.at(zeros) == QLatin1Char('0'))
        ++zeros;
    const int grouped = point - zeros;
    for (int i = 0; i < length; ++i) {
        if (i < point && i > zeros && thousandSep && (grouped - (i - zeros)) % 3 == 0)
            display.Text += locale.ThousandSeparator;
        display.RawToDisplay[i] = static_cast<int>(display.Text.size());
        display.Text += i == point ? locale.DecimalSeparator : raw.at(i);
    }
    display.RawToDisplay[length] = static_cast<int>(display.Text.size());
    return display;
}

} // namespace UXNEdit

using namespace UXNEdit;

void TwCustomNumEdit::Private::RemoveSelection()
{
    const int left = SelLeft();
    const int right = SelRight();
    if (left == right)
        return;
    if (left == 0 && right == Length()) {
        if (enableNull)
            MakeNull();
        else
            MakeZero();
        return;
    }
    const int point = ZeroPos();
    QString kept;
    for (int i = 0; i < Length(); ++i) {
        if (i < left || i >= right)
            kept += raw.at(i);
        else if (precision > 0 && i == point)
            kept += QLatin1Char('.');
        else if (precision > 0 && i > point)
            kept += QLatin1Char('0'); // the count of decimals never changes
    }
    if (kept.startsWith(QLatin1Char('.')))
        kept.prepend(QLatin1Char('0'));
    raw = kept;
    caret = left;
    Deselect();
}

bool TwCustomNumEdit::Private::TypeDigit(QChar digit)
{
    if (HasSelection())
        RemoveSelection();
    if (raw.isEmpty()) {
        raw = FormatRaw(digit.digitValue(), precision);
        caret = ZeroPos();
        return true;
    }
    const int length = Length();
    if (precision == 0) {
        if (maxLength > 0 && length >= maxLength) {
            caret = qMin(caret + 1, length);
            return false;
        }
        if (raw == QLatin1String("0")) {
            raw = digit;
            caret = 1;
            return true;
        }
        raw.insert(caret, digit);
        ++caret;
        return true;
    }
    if (caret >= length)
        return true;
    const int point = ZeroPos();
    if (caret > point) {
        raw[caret] = digit;
        ++caret;
        return true;
    }
    if (IntegerPartZero() && caret <= 1) {
        if (maxLength > 0 && maxLength <= precision)
            return false;
        if (point == 1) {
            raw[0] = digit;
            if (caret == 0)
                caret = 1;
            return true;
        }
        raw.insert(caret, digit);
        ++caret;
        return true;
    }
    if (maxLength > 0 && length - 1 >= maxLength)
        return false;
    raw.insert(caret, digit);
    ++caret;
    return true;
}

void TwCustomNumEdit::Private::DeleteKey()
{
    if (raw.isEmpty())
        return;
    const int length = Length();
    if (enableNull && length == 1 && caret == 0) {
        MakeNull();
        return;
    }
    if (caret >= length)
        return;
    if (precision == 0) {
        if (length == 1) {
            raw = QStringLiteral("0");
            caret = 1;
            return;
        }
        raw.remove(caret, 1);
        return;
    }
    const int point = ZeroPos();
    if (caret == point) {
        ++caret;
        return;
    }
    if (caret > point) {
        raw[caret] = QLatin1Char('0');
        ++caret;
        return;
    }
    if (point == 1) {
        raw[0] = QLatin1Char('0');
        ++caret;
        return;
    }
    raw.remove(caret, 1);
}

void TwCustomNumEdit::Private::BackspaceKey()
{
    if (raw.isEmpty())
        return;
    const int length = Length();
    if (enableNull && length == 1 && caret == 1) {
        MakeNull();
        return;
    }
    if (caret == 0) {
        sign = 1;
        return;
    }
    if (precision == 0) {
        if (length == 1) {
            raw = QStringLiteral("0");
            caret = 0;
            return;
        }
        raw.remove(caret - 1, 1);
        --caret;
        return;
    }
    const int point = ZeroPos();
    if (caret == point + 1) {
        --caret;
        return;
    }
    if (caret > point + 1) {
        raw[caret - 1] = QLatin1Char('0');
        --caret;
        return;
    }
    if (point == 1) {
        raw[0] = QLatin1Char('0');
        return;
    }
    raw.remove(caret - 1, 1);
    --caret;
}
