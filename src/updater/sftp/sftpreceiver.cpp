#include "updater/sftp/sftpreceiver.h"

#include "platform/sftpchannel.h"
#include "platform/texception.h"
#include "updater/sftp/sftppacket.h"

#include <QString>
#include <QtEndian>

#include <cstring>

namespace Sftp {

namespace {

// Each channel read asks for this much; the channel's window grows to match, which has
// to cover every read in flight (64 × 32 KiB) with room to spare.
constexpr qsizetype ReadPiece = 4 * 1024 * 1024;
constexpr qsizetype Capacity = ReadPiece + MaxPacketLength + 4;

} // namespace

TPacketReceiver::TPacketReceiver(TSftpChannel &channel)
    : m_channel(channel)
{
}

TPacketReceiver::~TPacketReceiver() = default;

void TPacketReceiver::Fill(qsizetype needed, int timeoutMs)
{
    if (!m_buffer)
        m_buffer = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(Capacity));
    while (m_end - m_begin < needed) {
        // What is left is at most one unfinished packet: moving it to the front is cheap
        // and keeps a whole read piece free behind it.
        if (m_begin > 0) {
            std::memmove(m_buffer.get(), m_buffer.get() + m_begin, static_cast<std::size_t>(m_end - m_begin));
            m_end -= m_begin;
            m_begin = 0;
        }
        m_end += m_channel.Read(m_buffer.get() + m_end, Capacity - m_end, timeoutMs);
    }
}

bool TPacketReceiver::HasPacket() const
{
    if (m_end - m_begin < 4)
        return false;
    const auto length = qFromBigEndian<std::uint32_t>(m_buffer.get() + m_begin);
    return length <= MaxPacketLength && m_end - m_begin >= 4 + static_cast<qsizetype>(length);
}

TReceivedPacket TPacketReceiver::Next(bool withId, int timeoutMs)
{
    Fill(4, timeoutMs);
    const auto length = qFromBigEndian<std::uint32_t>(m_buffer.get() + m_begin);
    const std::uint32_t header = withId ? 5 : 1;
    if (length < header || length > MaxPacketLength)
        throw TException(QStringLiteral("Invalid packet length: %1").arg(length));
    Fill(4 + static_cast<qsizetype>(length), timeoutMs);

    const char *packet = m_buffer.get() + m_begin + 4;
    TReceivedPacket received;
    received.type = static_cast<std::uint8_t>(packet[0]);
    if (withId)
        received.id = qFromBigEndian<std::int32_t>(packet + 1);
    received.payload = QByteArrayView(packet + header, static_cast<qsizetype>(length - header));
    m_begin += 4 + static_cast<qsizetype>(length);
    if (m_begin == m_end)
        m_begin = m_end = 0;
    return received;
}

} // namespace Sftp
