#pragma once

#include "platform/texception.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCryptographicHash>
#include <QString>

/// What a download must turn out to be: its size when more than 0 (0 or -1: the server
/// does not know it), and its SHA-256 (32 bytes) when a signed release lists one. A
/// download stops as soon as it passes `Limit` bytes (when 0 or more), or the size of a
/// signed file: a hostile server cannot make it run on.
struct TExpectedContent
{
    TExpectedContent(qint64 size = -1, QByteArray sha256 = {}, qint64 limit = -1)
        : Size(size)
        , Sha256(std::move(sha256))
        , Limit(limit)
    {
    }

    qint64 Size;
    QByteArray Sha256;
    qint64 Limit;
};

/// A download of a signed release whose bytes are not the listed ones: the file is
/// refused and the run goes on with the others.
class TContentMismatch : public TException
{
public:
    using TException::TException;
};

/// Follows a download's bytes as they arrive, in file order, and tells at the end
/// whether they are what was expected; the caller puts nothing in place before that.
class TContentCheck
{
public:
    TContentCheck(QString name, TExpectedContent expected);

    /// False once more bytes came than may: the download is to stop, and Finish throws.
    bool Add(QByteArrayView bytes);
    /// Throws when the bytes were not the expected size or their digest is not the
    /// expected one: TContentMismatch for a signed file, else TException.
    void Finish();

private:
    bool TooMany() const;

    QString m_name;
    TExpectedContent m_expected;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    qint64 m_received = 0;
};
