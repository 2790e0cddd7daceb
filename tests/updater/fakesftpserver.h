#pragma once

#include "platform/sftpchannel.h"
#include "updater/sftp/sftppacket.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <cstdint>
#include <functional>

/// Fields as they travel: most significant byte first.
inline QByteArray U32(std::uint32_t value)
{
    return Sftp::Uint32(value);
}
inline QByteArray U64(std::uint64_t value)
{
    return Sftp::Uint64(value);
}

/// An SFTP version 3 server in the test's own process, behind the channel seam. It
/// answers each request as soon as it is written, from a small tree of files, and can
/// be told to misbehave. A read that finds no answer waiting fails at once.
class FakeSftpServer : public TSftpChannel
{
public:
    struct Entry
    {
        QByteArray content;
        bool directory = false;
        QString longName; // empty: made up from the kind
        std::uint32_t permissions = 0; // 0: made up from the kind
        std::uint32_t mtime = 1700000000;
        qint64 reportedSize = -1; // ≥0: the size its attributes give, as for a file still growing
    };

    // What the server does.
    std::uint32_t OfferedVersion = 3;
    bool AnswerInitWithStatus = false;
    QList<QPair<QByteArray, QByteArray>> Extensions;
    std::uint32_t DataCap = 0; // >0: never more than this many bytes in one DATA reply
    /// When set: the most bytes one DATA reply gives for a read at this offset.
    std::function<std::uint32_t(std::uint64_t offset)> DataCapAt;
    qsizetype PieceCap = 0; // >0: the channel hands out at most this many bytes per read
    /// The replies to the reads of one write go out last first.
    bool ReverseReadReplies = false;
    QString Home = QStringLiteral("/home/test");
    QMap<QString, Entry> Tree; // absolute path → file or folder
    /// Called for every request after INIT; a non-empty answer is sent instead of the
    /// normal reply.
    std::function<QByteArray(std::uint8_t type, std::uint32_t id)> Override;
    /// Sends a stale reply (for the previous id) before each normal reply.
    bool SendStaleReplies = false;
    /// After the first answer that Override gives, the server sends nothing more, as
    /// one that hangs halfway through a reply.
    bool StallAfterOverride = false;

    // What the client did.
    QByteArray Written;
    QList<std::uint8_t> RequestTypes;
    QList<std::uint32_t> RequestIds;
    QList<int> ReadsPerWrite; // READ requests in each write that carried any
    QList<std::uint32_t> ReadLengths; // bytes asked for by each READ
    QList<std::uint64_t> ReadOffsets; // where each READ starts

    void AddFile(const QString &path, const QByteArray &content, std::uint32_t mtime = 1700000000);
    void AddFolder(const QString &path);

    void Open(const QString &host, int port, const QString &user, const QString &password) override;
    void Write(const QByteArray &bytes) override;
    qsizetype Read(char *buffer, qsizetype capacity, int timeoutMs) override;
    void Close() override;
    bool IsOpen() const override { return m_open; }

    static QByteArray Packet(std::uint8_t type, const QByteArray &body);
    static QByteArray String(const QByteArray &text);
    static QByteArray Status(std::uint32_t id, std::uint32_t code, const QByteArray &message);

private:
    void Serve(const QByteArray &packet);
    QByteArray Reply(std::uint8_t type, std::uint32_t id, const QByteArray &body);
    QString Resolve(const QString &path) const;
    QByteArray Attributes(const Entry &entry) const;

    bool m_open = false;
    bool m_silent = false;
    int m_readCount = 0;
    QByteArray m_inbox;
    QByteArray m_outbox;
    QList<QByteArray> m_heldReads; // replies to reads held back to be sent in reverse
    QMap<QByteArray, QString> m_handles;
    QMap<QByteArray, bool> m_listed;
    int m_nextHandle = 1;
};
