// Downloading one file with many reads in flight.

#include "updater/sftp/simplesftp.h"

#include "updater/sftp/sftpfailure.h"
#include "updater/sftp/sftpreceiver.h"

#include <QFile>
#include <QFileInfo>

#include <deque>
#include <functional>
#include <map>

namespace {

using Sftp::ItemKind;

constexpr std::uint32_t OpenRead = 0x1;

using Sftp::MaxSkippedReplies;
using Sftp::Raise;

struct TRead
{
    std::uint64_t offset = 0;
    std::uint32_t length = 0;
};

// Which parts of the file are asked for, outstanding and received. Replies may arrive in
// any order, but bytes reach the local file only in file order: a block behind a gap is
// held in memory until the gap closes, so the file never has a hole, not even when the
// process dies halfway. New blocks are asked for only within a window from the prefix,
// which bounds what is held however the server answers.
class TReadPlan
{
public:
    using TWrite = std::function<bool(QByteArrayView)>;

    TReadPlan(std::uint64_t start, std::uint64_t end, std::uint32_t blockSize, std::uint64_t window)
        : m_next(start)
        , m_prefix(start)
        , m_end(end)
        , m_blockSize(blockSize)
        , m_window(window)
    {
    }

    // The next read to ask for: the rest of a short reply first, then the next block;
    // the last block asks only for the bytes that remain before the size.
    bool Next(TRead &read)
    {
        if (!m_retries.empty()) {
            read = m_retries.front();
            m_retries.pop_front();
            return true;
        }
        if (m_next >= m_end || m_next - m_prefix >= m_window)
            return false;
        read = {m_next, static_cast<std::uint32_t>(qMin<std::uint64_t>(m_blockSize, m_end - m_next))};
        m_next += read.length;
        return true;
    }

    // Takes the bytes received for `read` (at most its length). When they continue the
    // prefix they are written at once, followed by the held blocks they join; otherwise
    // they are held. Returns false when a write fails.
    bool Received(const TRead &read, QByteArrayView data, const TWrite &write)
    {
        const auto count = static_cast<std::uint32_t>(data.size());
        if (count < read.length)
            m_retries.push_back({read.offset + count, read.length - count});
        if (read.offset != m_prefix) {
            m_held.emplace(read.offset, data.toByteArray());
            return true;
        }
        if (!write(data))
            return false;
        m_prefix += count;
        for (auto it = m_held.begin(); it != m_held.end() && it->first == m_prefix; it = m_held.erase(it)) {
            if (!write(it->second))
                return false;
            m_prefix += static_cast<std::uint64_t>(it->second.size());
        }
        return true;
    }

    // Whether the prefix, `before` it took `count` bytes for `read`, grew by more than a
    // short last block alone, which, as ever, gets no progress event of its own.
    bool Reportable(std::uint64_t before, const TRead &read, std::uint32_t count) const
    {
        if (m_prefix == before)
            return false;
        const bool shortEndOnly = m_prefix == m_end && read.offset == before && read.offset + count == m_end
            && count < m_blockSize;
        return !shortEndOnly;
    }

    std::uint64_t Prefix() const { return m_prefix; }
    bool Complete() const { return m_prefix == m_end; }

private:
    std::uint64_t m_next;
    std::uint64_t m_prefix;
    std::uint64_t m_end;
    std::uint32_t m_blockSize;
    std::uint64_t m_window;
    std::deque<TRead> m_retries;
    std::map<std::uint64_t, QByteArray> m_held; // blocks behind a gap: offset → bytes
};

} // namespace

std::uint64_t TSimpleSFTP::GetFile(const QString &remoteFolder, const QString &name, const QString &localFile,
                                   bool preserveTimes, bool create, bool append, std::uint64_t startOffset,
                                   const TSFTPProgress &progress, qint64 userValue)
{
    QString path = remoteFolder;
    if (!path.isEmpty() && !path.endsWith(PathDelim))
        path += PathDelim;
    path += name;

    const QByteArray handle = OpenFile(path, OpenRead);
    if (BufferSize == 0)
        Raise(QStringLiteral("Invalid buffer size"));

    // Unbuffered: every block's write reaches the file or fails right there, and no
    // buffered remainder can fail unnoticed when the file is closed.
    QFile local(localFile);
    if (create) {
        QFile::remove(localFile);
        if (!local.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            Raise(QStringLiteral("Unable to create file: ") + localFile);
    } else {
        if (!local.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
            Raise(QStringLiteral("Unable to open file: ") + localFile);
        if (append)
            local.seek(local.size());
    }
    const qint64 localStart = local.pos();

    const std::uint64_t size = HandleSize(handle);
    if (size < startOffset)
        Raise(QStringLiteral("Invalid file position: %1 (%2)").arg(path).arg(startOffset));
    const std::uint64_t remaining = size - startOffset;

    const QString readPrefix = QStringLiteral("Unable to read file: ") + QString::fromUtf8(handle);
    TReadPlan plan(startOffset, size, BufferSize, std::uint64_t{MaxReadsInFlight} * BufferSize);
    std::map<std::int32_t, TRead> outstanding;
    QString failure; // once set: no new requests, the outstanding replies are drained

    const auto sendReads = [&] {
        QByteArray batch;
        TRead read;
        while (failure.isEmpty() && outstanding.size() < MaxReadsInFlight && plan.Next(read)) {
            outstanding[RequestId] = read;
            batch += BuildPacket(Sftp::READ, {handle, Sftp::Uint64(read.offset), Sftp::Uint32(read.length)},
                                 {ItemKind::String, ItemKind::Raw, ItemKind::Raw}, true);
        }
        if (!batch.isEmpty())
            SendPacket(batch);
    };
    const auto endOfFile = [&] {
        return QStringLiteral("Unexpected end of file: %1 (%2 of %3 bytes)")
            .arg(path)
            .arg(plan.Prefix() - startOffset)
            .arg(remaining);
    };

    // One reply to `read`; returns the failure text, empty when all went well.
    const auto handleReply = [&](const Sftp::TReceivedPacket &reply, const TRead &read) -> QString {
        if (reply.type == Sftp::STATUS) {
            Sftp::TPayloadReader reader(reply.payload);
            const std::uint32_t code = reader.ReadUint32();
            if (code == Sftp::StatusEof || code == Sftp::StatusOk)
                return endOfFile();
            CheckStatus(reply.type, reply.payload.toByteArray(), readPrefix);
        }
        if (reply.type != Sftp::DATA)
            return readPrefix;
        Sftp::TPayloadReader reader(reply.payload);
        const QByteArrayView data = reader.ReadStringView();
        if (static_cast<std::uint64_t>(data.size()) > read.length)
            return readPrefix + QStringLiteral(" (more data than requested)");
        if (data.isEmpty())
            return endOfFile();
        const std::uint64_t before = plan.Prefix();
        const auto write = [&](QByteArrayView bytes) {
            if (local.write(bytes.data(), bytes.size()) != bytes.size())
                return false;
            return !Written || Written(bytes);
        };
        if (!plan.Received(read, data, write))
            return QStringLiteral("Unable to write file: ") + localFile;
        if (!progress || !plan.Reportable(before, read, static_cast<std::uint32_t>(data.size())))
            return {};
        if (!progress(userValue, plan.Prefix() - startOffset, remaining))
            return QStringLiteral("File transfer aborted: ") + path;
        return {};
    };

    int skipped = 0;
    try {
        while (!plan.Complete() || !outstanding.empty()) {
            sendReads();
            if (outstanding.empty())
                break;
            do {
                const Sftp::TReceivedPacket reply = Receive(true);
                const auto it = outstanding.find(reply.id);
                if (it == outstanding.end()) {
                    if (++skipped > MaxSkippedReplies)
                        Raise(QStringLiteral("Too many replies to earlier requests"));
                    continue; // the late answer to an earlier request
                }
                const TRead read = it->second;
                outstanding.erase(it);
                if (!failure.isEmpty())
                    continue;
                try {
                    failure = handleReply(reply, read);
                } catch (const TException &error) {
                    failure = QString::fromUtf8(error.what()); // a server's error status, a malformed reply
                }
            } while (!outstanding.empty() && m_receiver->HasPacket());
        }
    } catch (...) {
        // Replies may still be on their way, and the session could no longer tell them
        // from the answer to its next request.
        if (!outstanding.empty())
            Disconnect();
        throw;
    }
    if (!failure.isEmpty()) {
        // Every reply has been drained: the session can still close the server's handle,
        // which would otherwise stay open for as long as the session.
        try {
            CloseRemoteHandle(handle);
        } catch (const TException &) {
        }
        Raise(failure);
    }

    local.unsetError();
    local.close();
    const qint64 expected = localStart + static_cast<qint64>(remaining);
    if (local.error() != QFileDevice::NoError || QFileInfo(localFile).size() < expected)
        Raise(QStringLiteral("Unable to write file: ") + localFile);
    try {
        CloseRemoteHandle(handle);
    } catch (const TException &) {
        // the data is safely written; the server cleans up its handle itself
    }
    if (preserveTimes) {
        const TSFTPFileTimes times = GetFileTimes(path);
        SetLocalFileTimes(localFile, times.AccessTime, times.CreateTime, times.ModifyTime);
    }
    return remaining;
}
