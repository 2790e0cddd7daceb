#pragma once

#include <QByteArrayView>

#include <cstdint>
#include <memory>

class TSftpChannel;

namespace Sftp {

/// One packet as it came off the wire. The payload points into the receiver's buffer
/// and stays valid until the receiver's next call.
struct TReceivedPacket
{
    std::uint8_t type = 0;
    std::int32_t id = 0;
    QByteArrayView payload;
};

/// Reads the channel in large pieces into a buffer of its own and cuts packets out of
/// it, so many replies in flight cost one channel read, not three per packet.
class TPacketReceiver
{
public:
    explicit TPacketReceiver(TSftpChannel &channel);
    ~TPacketReceiver();
    TPacketReceiver(const TPacketReceiver &) = delete;
    TPacketReceiver &operator=(const TPacketReceiver &) = delete;

    /// The next packet; each piece of it waits at most `timeoutMs`. A length outside
    /// the packet bounds throws "Invalid packet length: n"; channel errors pass through.
    TReceivedPacket Next(bool withId, int timeoutMs);
    /// Whether a whole packet is already buffered, so Next needs no wait.
    bool HasPacket() const;
    /// Whether part of a packet has been received: the stream stands inside a packet.
    bool InsidePacket() const { return m_end > m_begin; }
    /// Forgets everything buffered, for a new session.
    void Clear() { m_begin = m_end = 0; }

private:
    void Fill(qsizetype needed, int timeoutMs);

    TSftpChannel &m_channel;
    std::unique_ptr<char[]> m_buffer;
    qsizetype m_begin = 0;
    qsizetype m_end = 0;
};

} // namespace Sftp
