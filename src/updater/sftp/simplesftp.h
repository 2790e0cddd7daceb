#pragma once

#include "platform/sftpchannel.h"
#include "updater/sftp/sftppacket.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

/// The attributes of one name a server returned. Version 3 fills the first block; the
/// fields of later protocol versions stay zero or empty.
struct TSFTPFileAttributes
{
    QString FileName;
    QString LongName;
    std::uint32_t Flags = 0;
    std::uint8_t FileType = 0; // 1 file, 2 directory, 3 link, 5 unknown, 0 not determined
    std::uint64_t Size = 0;
    std::uint32_t Permissions = 0;
    std::uint64_t AccessTime = 0;
    std::uint64_t CreateTime = 0;
    std::uint64_t ModifyTime = 0;
    std::uint32_t ExtendedCount = 0;

    std::uint64_t AllocationSize = 0;
    QString Owner;
    QString Group;
    std::uint32_t AccessTimeNanoseconds = 0;
    std::uint32_t CreateTimeNanoseconds = 0;
    std::uint32_t ModifyTimeNanoseconds = 0;
    QByteArray Acl;
    std::uint32_t AttributeBits = 0;
    std::uint8_t TextHint = 0;
    QString MimeType;
    std::uint32_t LinkCount = 0;
    QString UntranslatedName;
};

/// An ordered list that owns one copy of each record added.
class TSFTPFileList
{
public:
    void Add(const TSFTPFileAttributes &attributes);
    int Count() const { return static_cast<int>(m_items.size()); }
    const TSFTPFileAttributes &Items(int index) const { return *m_items.at(static_cast<std::size_t>(index)); }
    void Delete(int index);
    void Clear();

private:
    std::vector<std::unique_ptr<TSFTPFileAttributes>> m_items;
};

/// Progress of a download: (user value, bytes so far, bytes to transfer) → go on?
using TSFTPProgress = std::function<bool(qint64 userValue, std::uint64_t done, std::uint64_t total)>;

/// The file times of a remote file, seconds since 1970 UTC; 0 when absent.
struct TSFTPFileTimes
{
    std::uint64_t AccessTime = 0;
    std::uint64_t CreateTime = 0;
    std::uint64_t ModifyTime = 0;
};

namespace Sftp {
struct TReceivedPacket;
class TPacketReceiver;
} // namespace Sftp

/// A blocking SFTP version 3 client: every call returns when its replies have arrived.
/// Operations send one request at a time, except GetFile, which keeps many reads in
/// flight so that a distant server is not paid one round trip per block. Failures
/// throw TException with the operation's text.
class TSimpleSFTP
{
public:
    /// The most read requests GetFile keeps outstanding at once: 4 MiB of the default
    /// blocks, what a link of 20 ms carries at 200 MiB/s.
    static constexpr std::uint32_t MaxReadsInFlight = 128;

    /// Over an SSH channel whose host keys are kept in the program folder's known_hosts.
    TSimpleSFTP();
    explicit TSimpleSFTP(std::unique_ptr<TSftpChannel> channel);
    ~TSimpleSFTP();
    TSimpleSFTP(const TSimpleSFTP &) = delete;
    TSimpleSFTP &operator=(const TSimpleSFTP &) = delete;

    std::uint32_t Timeout = 60000;
    std::uint32_t Version = 3;
    std::int32_t RequestId = 5;
    QString NewLine;
    std::uint32_t BufferSize = 32768;
    QString PathDelim;
    QString CurrentDir;
    /// When set, GetFile hands it every block it has written to the local file, in file
    /// order, so a caller can follow the bytes (hash them) as they stream; its false
    /// ends the download as a failed write does.
    std::function<bool(QByteArrayView)> Written;

    void Connect(const QString &host, const QString &port, const QString &user, const QString &password);
    void Disconnect();

    // Packet layer.
    QByteArray BuildPacket(std::uint8_t type, const QList<QByteArray> &values, const QList<Sftp::ItemKind> &kinds,
                           bool withId);
    void SendPacket(const QByteArray &packet);
    QByteArray ReceivePacket(std::int32_t expectedId, std::uint8_t &type, bool withId);
    bool CheckStatus(std::uint8_t type, const QByteArray &payload, const QString &prefix);

    // Operations.
    QString RealPath(const QString &path);
    QString ChangeDir(const QString &path);
    QByteArray OpenDir(const QString &path);
    void ReadDirInto(const QByteArray &handle, TSFTPFileList &list);
    void ListDir(const QString &path, TSFTPFileList &list);
    QByteArray OpenFile(const QString &path, std::uint32_t openFlags);
    QByteArray ReadBlock(const QByteArray &handle, std::uint32_t length, std::uint64_t offset);
    bool CloseRemoteHandle(const QByteArray &handle);
    TSFTPFileAttributes StatPath(std::uint8_t kind, const QByteArray &argument);
    std::uint64_t FileSize(const QString &path);
    std::uint64_t HandleSize(const QByteArray &handle);
    TSFTPFileTimes GetFileTimes(const QString &path);
    /// Downloads the file's bytes from `startOffset` up to the size its handle has when
    /// opened, in reads of BufferSize bytes with up to MaxReadsInFlight outstanding.
    /// Progress is reported in file order as the part received without a gap grows (a
    /// short last block gets no event of its own). Returns the bytes written; a write
    /// that fails or a size on disk short of them is an error. Bytes are written in file
    /// order only, from the start (create, or neither flag) or the end (append) of the
    /// local file, so at any moment, also after an error, what was written is the part
    /// received without a gap (a write that failed may have put down part of its block);
    /// when neither create nor append is set, the old bytes past that part stay. Blocks
    /// that arrive ahead of a gap wait in memory: at most MaxReadsInFlight × BufferSize.
    std::uint64_t GetFile(const QString &remoteFolder, const QString &name, const QString &localFile,
                          bool preserveTimes, bool create, bool append, std::uint64_t startOffset,
                          const TSFTPProgress &progress = {}, qint64 userValue = 0);
    static void SetLocalFileTimes(const QString &localFile, std::uint64_t accessTime, std::uint64_t createTime,
                                  std::uint64_t modifyTime);
    static std::uint64_t UnixToFileTime(std::uint64_t seconds);

private:
    void Reset();
    /// The next packet of any id. A failure that leaves the stream inside a packet
    /// closes the session: what follows could never be framed again.
    Sftp::TReceivedPacket Receive(bool withId);
    /// Builds a request with an id, sends it and receives the reply to it.
    QByteArray Request(std::uint8_t type, const QList<QByteArray> &values, const QList<Sftp::ItemKind> &kinds,
                       std::uint8_t &replyType);
    /// A name or long name longer than a path can be fails under `prefix`.
    void ParseNames(const QByteArray &payload, bool withAttributes, TSFTPFileList &list, bool forCallers,
                    const QString &prefix);
    /// Sends a request answered with a handle; any other answer fails under `prefix`.
    QByteArray RequestHandle(std::uint8_t type, const QList<QByteArray> &values, const QList<Sftp::ItemKind> &kinds,
                             const QString &prefix);

    std::unique_ptr<TSftpChannel> m_channel;
    std::unique_ptr<Sftp::TPacketReceiver> m_receiver;
};
