#include "updater/sftp/sftppacket.h"

#include "platform/texception.h"

#include <QtEndian>

namespace Sftp {

QByteArray Uint32(std::uint32_t value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray Uint64(std::uint64_t value)
{
    QByteArray bytes(8, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

TPayloadReader::TPayloadReader(QByteArrayView payload, qsizetype position)
    : m_payload(payload)
    , m_position(position)
{
}

void TPayloadReader::Need(qsizetype count) const
{
    if (count < 0 || count > Remaining())
        throw TException(QStringLiteral("Malformed packet from the server"));
}

std::uint32_t TPayloadReader::ReadUint32()
{
    Need(4);
    const auto value = qFromBigEndian<std::uint32_t>(m_payload.constData() + m_position);
    m_position += 4;
    return value;
}

std::uint64_t TPayloadReader::ReadUint64()
{
    const std::uint64_t high = ReadUint32();
    return high << 32 | ReadUint32();
}

QByteArray TPayloadReader::ReadString()
{
    return ReadStringView().toByteArray();
}

QByteArrayView TPayloadReader::ReadStringView()
{
    const std::uint32_t length = ReadUint32();
    Need(static_cast<qsizetype>(length));
    const QByteArrayView text = m_payload.sliced(m_position, static_cast<qsizetype>(length));
    m_position += static_cast<qsizetype>(length);
    return text;
}

} // namespace Sftp
