#pragma once

// What the parts of the SFTP client share about giving up.

#include "platform/texception.h"

#include <QString>

namespace Sftp {

// A server that keeps answering old requests is broken: a wait for one reply, or one
// file's reads, give up after skipping this many late answers.
constexpr int MaxSkippedReplies = 1000;

// A failure with the server's or the library's text; an empty text still says something.
[[noreturn]] inline void Raise(const QString &text)
{
    throw TException(text.trimmed().isEmpty() ? QStringLiteral("Unknown error") : text);
}

} // namespace Sftp
