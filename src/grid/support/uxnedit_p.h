#pragma once

// Internal to the number edit: the raw-text state and the editing rules that work on it.

#include "grid/uxnedit.h"

#include <QBasicTimer>
#include <QString>

#include <cmath>
#include <vector>

namespace UXNEdit {

// A double holds 15 significant decimal digits exactly; more would be silently rounded.
inline constexpr int MaxSignificantDigits = 15;
inline constexpr int MaxPrecision = 65535;

QString FormatRaw(double absValue, int precision);
int SignificantDigits(const QString &raw);
double RawValue(const QString &raw);
bool IsDigit(QChar ch);

// The display body (no sign) of a raw text, with the display index of every raw index.
struct TwDisplay
{
    QString Text;
    std::vector<int> RawToDisplay; // raw length + 1 entries
};

TwDisplay MakeDisplay(const QString &raw, int precision, bool thousandSep);

} // namespace UXNEdit

struct TwCustomNumEdit::Private
{
    QString raw = QStringLiteral("0");
    int sign = 1;
    int caret = 1;
    bool selecting = false;
    int anchor = 0;
    int selEnd = 0;

    bool autoSelect = true;
    TwBorderStyle borderStyle = bsSingle;
    bool ctl3D = true;
    bool enableNull = false;
    TwTextLayout layout = tlCenter;
    int maxLength = 10;
    double maxValue = 0;
    double minValue = 0;
    int precision = 0;
    bool readOnly = false;
    bool spinner = false;
    bool spinner3D = true;
    bool thousandSep = true;

    bool mouseSelecting = false;
    QBasicTimer caretBlink;
    bool caretShown = true;
    int spinPressed = 0;

    // The text, sign, caret and selection, to put back when a keystroke is refused.
    struct Snapshot
    {
        QString raw;
        int sign;
        int caret;
        bool selecting;
        int anchor;
        int selEnd;
    };
    Snapshot Save() const { return {raw, sign, caret, selecting, anchor, selEnd}; }
    void Restore(const Snapshot &state)
    {
        raw = state.raw;
        sign = state.sign;
        caret = state.caret;
        selecting = state.selecting;
        anchor = state.anchor;
        selEnd = state.selEnd;
    }

    int Length() const { return static_cast<int>(raw.size()); }
    int ZeroPos() const { return precision > 0 ? Length() - precision - 1 : Length(); }
    bool HasSelection() const { return selecting && anchor != selEnd; }
    int SelLeft() const { return HasSelection() ? qMin(anchor, selEnd) : caret; }
    int SelRight() const { return HasSelection() ? qMax(anchor, selEnd) : caret; }
    bool HasRange() const { return minValue != maxValue; }
    bool IntegerPartZero() const
    {
        for (int i = 0; i < ZeroPos(); ++i)
            if (raw.at(i) != QLatin1Char('0'))
                return false;
        return true;
    }
    void Deselect()
    {
        selecting = false;
        anchor = selEnd = caret;
    }
    void MakeNull()
    {
        raw.clear();
        sign = 1; // the next digit starts positive
        caret = 0;
        Deselect();
    }
    void MakeZero()
    {
        raw = UXNEdit::FormatRaw(0, precision);
        sign = 1;
        caret = ZeroPos();
        Deselect();
    }
    // Whether a raw text that typing would produce stays within what the value can hold:
    // no more significant digits than a double keeps (a text already beyond it may still
    // shrink). The range is not applied while typing: "25" on the way to a value of 1..12
    // keeps both digits, and leaving the control clamps it (CheckValue).
    bool Holds(const QString &candidate, const QString &previous) const
    {
        const int digits = UXNEdit::SignificantDigits(candidate);
        return !(digits > UXNEdit::MaxSignificantDigits && digits > UXNEdit::SignificantDigits(previous));
    }

    void RemoveSelection();
    bool TypeDigit(QChar digit);
    void DeleteKey();
    void BackspaceKey();
};
