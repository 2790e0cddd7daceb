#pragma once

#include "platform/texception.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCryptographicHash>
#include <QString>

/// What a download must turn out to be: its size when more than 0 (0 or -1: the server
/// does not know it), and its SHA-256 (32 bytes) when a signed release lists one.
struct TExpectedContent
{
    TExpectedContent(qint64 size = -1, QByteArray sha256 = {})
        : Size(size)
        , Sha256(std::move(sha256))
    {
    }

    qint64 Size;
    QByteArray Sha256;
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

    void Add(QByteArrayView bytes);
    /// Throws when `received` bytes are not the expected size or their digest is not the
    /// expected one: TContentMismatch for a signed file, else TException.
    void Finish(qint64 received);

private:
    QString m_name;
    TExpectedContent m_expected;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
};
