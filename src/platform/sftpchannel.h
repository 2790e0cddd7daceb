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
    /// Exactly `count` bytes, or an error when they do not all arrive within `timeoutMs`
    /// or the stream ends first.
    virtual QByteArray ReadExact(qsizetype count, int timeoutMs) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
};
