#pragma once

// Internal: numeric format patterns as the formatter reads them, for the exports that
// translate them into other notations. Not installed.

#include <QString>

#include <vector>

/// One section of a numeric pattern ("#,##0.00", "0.0%", "'₩'#,##0"): the text before and
/// after the digits, the digits it requires and allows, and its thousands grouping.
struct TXNumberSection
{
    QString Prefix;
    QString Suffix;
    int MinInt = 0;
    int MinFrac = 0;
    int MaxFrac = 0;
    bool Grouping = false;
    bool AnyDigit = false;
    /// Whether TXFormatFloat uses the section for its values, rather than the first one.
    bool Used() const { return AnyDigit || !Prefix.isEmpty(); }
};

/// The sections of a pattern, split at the semicolons outside quoted text.
std::vector<TXNumberSection> TXParseNumberPattern(const QString &pattern);
