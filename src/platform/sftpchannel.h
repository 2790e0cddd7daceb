#pragma once

#include <QByteArray>
#include <QString>

/// The byte stream under the SFTP client: an SSH "subsystem" channel "sftp" or, in
/// tests, a server in the same process. Failures throw TException with a readable text.
class TSftpChannel
{
public:
    virtual ~TSftpChannel() = default;

    virtual void Open(const QString &host, int port, const QString &user, const QString &password) = 0;
    virtual void Write(const QByteArray &bytes) = 0;
    /// Whatever has arrived, at least one byte and at most `capacity`, into `buffer`; an
    /// error when nothing arrives within `timeoutMs` or the stream has ended. Callers ask
    /// for large pieces: the SSH channel advertises a window as large as the piece asked
    /// for, so many replies can be on their way at once.
    virtual qsizetype Read(char *buffer, qsizetype capacity, int timeoutMs) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
};
