#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>

// Copying text into a zeroed fixed field and reading it back.

/// Trims `text`; when something is left, copies at most `limit` CP949 bytes of it to the
/// start of `field` without a terminator (the field was zeroed and is wider than
/// `limit`). The copy stops before a double-byte character that would not fit whole.
void CopyFixedField(char *field, std::size_t width, const QString &text, std::size_t limit);

/// The bytes of `field` up to the first zero byte (or all `width`), decoded and trimmed.
QString ReadFixedField(const char *field, std::size_t width);

template<std::size_t W>
void CopyFixed(char (&field)[W], const QString &text, std::size_t limit = W - 1)
{
    CopyFixedField(field, W, text, limit);
}

template<std::size_t W>
QString ReadFixed(const char (&field)[W])
{
    return ReadFixedField(field, W);
}
