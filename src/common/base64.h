#pragma once

#include <QByteArray>
#include <QString>

// Base64 of stored settings (the connection string, the updater's server settings).

inline const char *const Base64FormatError = "Base64: Incorrect string format";

/// Decodes `text`. A length that is not a multiple of 4 throws TException with
/// "Base64: Incorrect string format"; a last group ending in "==" gives one byte, in
/// "=" two; any character outside the alphabet other than '+' counts as 63, like '/'.
QByteArray Base64Decode(const QByteArray &text);

/// Standard Base64 with '=' padding; empty gives empty.
QByteArray Base64Encode(const QByteArray &bytes);

/// The stored text (CP949 bytes, decoded) ↔ its Base64 value, as the settings files hold it.
/// Encoding throws TException when `text` has a character code page 949 cannot hold:
/// a stored setting must never decode to a different text than the one given.
QString DecodeBase64Text(const QString &stored);
QString EncodeBase64Text(const QString &text);
