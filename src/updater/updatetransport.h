#pragma once

#include "updater/release/contentcheck.h"
#include "updater/skyrunlib.h"

#include <QList>
#include <QString>

#include <memory>

class TUpdateProgress;

/// A plain file of a server directory as the update run sees it.
struct TServerFile
{
    QString Name;
    /// The server copy's time as a 17-digit stamp; empty when the listing tells none.
    QString Stamp;
};

/// One connection to the file server for a run, by FTP or SFTP. Every call blocks and
/// throws TException with the transport's own error text.
class TUpdateTransport
{
public:
    virtual ~TUpdateTransport();

    virtual bool IsSftp() const = 0;
    virtual void Connect(const TServerInfo &info) = 0;
    /// Leaves the server when connected; never throws.
    virtual void Disconnect() = 0;
    /// Enters the absolute directory `dir` ("/upd/sub/"); false when the server refuses
    /// it or resolves it to another directory.
    virtual bool ChangeDir(const QString &dir) = 0;
    /// The plain files of the current directory, in listing order.
    virtual QList<TServerFile> ListFiles() = 0;
    /// The size of `name` in the current directory; -1 when the server tells none.
    virtual qint64 Size(const QString &name) = 0;
    /// Fetches `name` of the current directory into `localFile`, which does not exist.
    /// `localFile` appears only with the whole file, whose bytes are what `expected`
    /// says (its size when more than 0, its SHA-256 when given); else it throws,
    /// TContentMismatch when a signed file's bytes are not the listed ones.
    virtual void Get(const QString &name, const QString &localFile, const TExpectedContent &expected) = 0;
};

/// The FTP transport; its transfer progress and status lines go to `progress`.
std::unique_ptr<TUpdateTransport> MakeFtpTransport(TUpdateProgress &progress);
/// The SFTP transport, with host keys kept in `programFolder`; `preserveTimes` gives
/// downloads the server's times. Its download progress goes to `progress`.
std::unique_ptr<TUpdateTransport> MakeSftpTransport(TUpdateProgress &progress, bool preserveTimes,
                                                    const QString &programFolder);

/// `port` as a port number, `fallback` when it is none.
int PortNumber(const QString &port, int fallback);
