// The SFTP session and its packet layer.

#include "updater/sftp/simplesftp.h"

#include "platform/programfolder.h"
#include "platform/sshchannel.h"
#include "updater/sftp/sftpfailure.h"
#include "updater/sftp/sftpreceiver.h"

#include <climits>

namespace {

using Sftp::MaxSkippedReplies;
using Sftp::Raise;

} // namespace

void TSFTPFileList::Add(const TSFTPFileAttributes &attributes)
{
    m_items.push_back(std::make_unique<TSFTPFileAttributes>(attributes));
}

void TSFTPFileList::Delete(int index)
{
    m_items.erase(m_items.begin() + index);
}

void TSFTPFileList::Clear()
{
    while (!m_items.empty())
        m_items.pop_back();
}

TSimpleSFTP::TSimpleSFTP()
    : TSimpleSFTP(std::make_unique<TSshChannel>(Platform::ProgramFolder() + QStringLiteral("known_hosts")))
{
}

TSimpleSFTP::TSimpleSFTP(std::unique_ptr<TSftpChannel> channel)
    : m_channel(std::move(channel))
    , m_receiver(std::make_unique<Sftp::TPacketReceiver>(*m_channel))
{
    Reset();
}

TSimpleSFTP::~TSimpleSFTP()
{
    Disconnect();
}

void TSimpleSFTP::Reset()
{
    Version = 3;
    RequestId = 5;
    NewLine = QStringLiteral("\r\n");
    BufferSize = 32768;
    PathDelim = QStringLiteral("/");
    CurrentDir = QStringLiteral(".");
}

void TSimpleSFTP::Disconnect()
{
    m_receiver->Clear();
    if (!m_channel || !m_channel->IsOpen())
        return;
    try {
        m_channel->Close();
    } catch (const std::exception &) {
        // closing is best effort
    }
}

void TSimpleSFTP::Connect(const QString &host, const QString &port, const QString &user, const QString &password)
{
    try {
        bool ok = false;
        int portNumber = port.trimmed().toInt(&ok);
        if (!ok || portNumber <= 0 || portNumber > 65535)
            portNumber = 22;
        m_receiver->Clear();
        m_channel->Open(host, portNumber, user, password);
        Reset();

        SendPacket(BuildPacket(Sftp::INIT, {Sftp::Uint32(Version)}, {Sftp::ItemKind::Raw}, false));
        std::uint8_t type = Sftp::VERSION;
        const QByteArray payload = ReceivePacket(0, type, false);
        Sftp::TPayloadReader reader(payload);
        const std::uint32_t serverVersion = reader.ReadUint32();
        if (Version < serverVersion)
            Raise(QStringLiteral("Invalid protocol version: %1<%2").arg(Version).arg(serverVersion));
        Version = serverVersion;
        bool newLineSeen = false;
        while (reader.Remaining() > 0) {
            const QByteArray name = reader.ReadString();
            const QByteArray value = reader.ReadString();
            if (!newLineSeen && name == "newline") {
                NewLine = QString::fromUtf8(value);
                newLineSeen = true;
            }
        }
        ChangeDir(CurrentDir);
    } catch (...) {
        Disconnect();
        throw;
    }
}

QByteArray TSimpleSFTP::BuildPacket(std::uint8_t type, const QList<QByteArray> &values,
                                    const QList<Sftp::ItemKind> &kinds, bool withId)
{
    if (values.size() != kinds.size())
        Raise(QStringLiteral("Invalid out packet data"));
    QByteArray body;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (values[i].isEmpty())
            continue; // an empty item is left out, count and all
        if (kinds[i] == Sftp::ItemKind::String)
            body += Sftp::Uint32(static_cast<std::uint32_t>(values[i].size()));
        body += values[i];
    }
    if (withId)
        body.prepend(Sftp::Uint32(static_cast<std::uint32_t>(RequestId)));
    body.prepend(static_cast<char>(type));
    body.prepend(Sftp::Uint32(static_cast<std::uint32_t>(body.size())));
    ++RequestId;
    return body;
}

void TSimpleSFTP::SendPacket(const QByteArray &packet)
{
    m_channel->Write(packet);
}

Sftp::TReceivedPacket TSimpleSFTP::Receive(bool withId)
{
    const int timeout = static_cast<int>(qMin<std::uint32_t>(Timeout, INT_MAX));
    try {
        return m_receiver->Next(withId, timeout);
    } catch (const TException &) {
        if (m_receiver->InsidePacket())
            Disconnect();
        throw;
    }
}

QByteArray TSimpleSFTP::ReceivePacket(std::int32_t expectedId, std::uint8_t &type, bool withId)
{
    for (int skipped = 0; skipped <= MaxSkippedReplies; ++skipped) {
        const Sftp::TReceivedPacket packet = Receive(withId);
        if (withId && packet.id != expectedId)
            continue; // the late answer to an earlier request
        if (type != 0 && packet.type != type)
            Raise(QStringLiteral("Unexpected packet type: %1<>%2").arg(type).arg(packet.type));
        type = packet.type;
        return packet.payload.toByteArray();
    }
    Raise(QStringLiteral("Too many replies to earlier requests"));
}

bool TSimpleSFTP::CheckStatus(std::uint8_t type, const QByteArray &payload, const QString &prefix)
{
    if (type != Sftp::STATUS)
        return false;
    Sftp::TPayloadReader reader(payload);
    if (reader.ReadUint32() == Sftp::StatusOk)
        return true;
    QString text = prefix;
    while (reader.Remaining() > 1)
        text += QStringLiteral("\r\n") + QString::fromUtf8(reader.ReadString());
    Raise(text);
}

QByteArray TSimpleSFTP::Request(std::uint8_t type, const QList<QByteArray> &values,
                                const QList<Sftp::ItemKind> &kinds, std::uint8_t &replyType)
{
    SendPacket(BuildPacket(type, values, kinds, true));
    replyType = 0;
    return ReceivePacket(RequestId - 1, replyType, true);
}
