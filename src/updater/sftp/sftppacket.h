#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>

// SFTP version 3 wire format: big-endian integers, strings with a uint32 byte count.

namespace Sftp {

enum PacketType : std::uint8_t {
    INIT = 1,
    VERSION = 2,
    OPEN = 3,
    CLOSE = 4,
    READ = 5,
    LSTAT = 7,
    FSTAT = 8,
    OPENDIR = 11,
    READDIR = 12,
    REALPATH = 16,
    STAT = 17,
    STATUS = 101,
    HANDLE = 102,
    DATA = 103,
    NAME = 104,
    ATTRS = 105,
};

enum StatusCode : std::uint32_t { StatusOk = 0, StatusEof = 1 };

/// The largest packet accepted from a server: 256 KiB of data (the most OpenSSH sends)
/// plus the packet's own fields.
inline constexpr std::uint32_t MaxPacketLength = 256 * 1024 + 1024;

/// A payload item: raw bytes already in wire order, or a string sent with its length.
enum class ItemKind { Raw, String };

QByteArray Uint32(std::uint32_t value);
QByteArray Uint64(std::uint64_t value);

/// The most bytes a server's handle may have; a longer one is refused.
inline constexpr qsizetype MaxHandleLength = 256;

/// Reads items of a received payload in order. Reading past its end throws TException.
/// The payload must outlive the reader.
class TPayloadReader
{
public:
    explicit TPayloadReader(QByteArrayView payload, qsizetype position = 0);

    std::uint32_t ReadUint32();
    std::uint64_t ReadUint64();
    QByteArray ReadString();
    /// The next string in place, without copying its bytes.
    QByteArrayView ReadStringView();
    qsizetype Remaining() const { return m_payload.size() - m_position; }

private:
    void Need(qsizetype count) const;

    QByteArrayView m_payload;
    qsizetype m_position;
};

} // namespace Sftp
