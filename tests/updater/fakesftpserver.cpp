#include "fakesftpserver.h"

#include "platform/texception.h"
#include "updater/sftp/sftppacket.h"

#include <QtEndian>

#include <cstring>

namespace {

struct Reader
{
    const QByteArray &data;
    qsizetype pos = 0;
    std::uint32_t U32()
    {
        const auto v = qFromBigEndian<std::uint32_t>(data.constData() + pos);
        pos += 4;
        return v;
    }
    std::uint64_t U64()
    {
        const std::uint64_t high = U32();
        return high << 32 | U32();
    }
    QByteArray Str()
    {
        const std::uint32_t n = U32();
        const QByteArray s = data.mid(pos, n);
        pos += n;
        return s;
    }
};

} // namespace

QByteArray FakeSftpServer::Packet(std::uint8_t type, const QByteArray &body)
{
    return U32(static_cast<std::uint32_t>(body.size() + 1)) + static_cast<char>(type) + body;
}

QByteArray FakeSftpServer::String(const QByteArray &text)
{
    return U32(static_cast<std::uint32_t>(text.size())) + text;
}

QByteArray FakeSftpServer::Status(std::uint32_t id, std::uint32_t code, const QByteArray &message)
{
    return Packet(101, U32(id) + U32(code) + String(message) + String(QByteArray()));
}

void FakeSftpServer::AddFile(const QString &path, const QByteArray &content, std::uint32_t mtime)
{
    Entry entry;
    entry.content = content;
    entry.mtime = mtime;
    Tree[path] = entry;
}

void FakeSftpServer::AddFolder(const QString &path)
{
    Entry entry;
    entry.directory = true;
    Tree[path] = entry;
}

void FakeSftpServer::Open(const QString &, int, const QString &, const QString &)
{
    m_open = true;
    m_inbox.clear();
    m_outbox.clear();
    m_silent = false;
    m_handles.clear();
    m_listed.clear();
    if (!Tree.contains(Home))
        AddFolder(Home);
}

void FakeSftpServer::Close()
{
    m_open = false;
}

void FakeSftpServer::Write(const QByteArray &bytes)
{
    if (!m_open)
        throw TException(QStringLiteral("Not connected"));
    Written += bytes;
    m_inbox += bytes;
    const int readsBefore = m_readCount;
    while (m_inbox.size() >= 4) {
        const auto length = qFromBigEndian<std::uint32_t>(m_inbox.constData());
        if (m_inbox.size() < 4 + static_cast<qsizetype>(length))
            break;
        const QByteArray packet = m_inbox.mid(4, length);
        m_inbox.remove(0, 4 + length);
        Serve(packet);
    }
    while (!m_heldReads.isEmpty())
        m_outbox += m_heldReads.takeLast();
    if (m_readCount > readsBefore)
        ReadsPerWrite << m_readCount - readsBefore;
}

qsizetype FakeSftpServer::Read(char *buffer, qsizetype capacity, int)
{
    if (m_outbox.isEmpty())
        throw TException(m_open ? QStringLiteral("Timeout") : QStringLiteral("Connection closed by the server"));
    qsizetype count = qMin(capacity, m_outbox.size());
    if (PieceCap > 0)
        count = qMin(count, PieceCap);
    std::memcpy(buffer, m_outbox.constData(), static_cast<std::size_t>(count));
    m_outbox.remove(0, count);
    return count;
}

QString FakeSftpServer::Resolve(const QString &path) const
{
    const QString full = path.startsWith(QLatin1Char('/')) ? path : Home + QLatin1Char('/') + path;
    QStringList parts;
    for (const QString &part : full.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts << part;
    }
    return QLatin1Char('/') + parts.join(QLatin1Char('/'));
}

QByteArray FakeSftpServer::Attributes(const Entry &entry) const
{
    const std::uint32_t perms = entry.permissions ? entry.permissions : (entry.directory ? 040755u : 0100644u);
    const qint64 size = entry.reportedSize >= 0 ? entry.reportedSize : entry.content.size();
    return U32(0x1 | 0x4 | 0x8) + U64(static_cast<std::uint64_t>(size)) + U32(perms)
        + U32(entry.mtime - 100) + U32(entry.mtime);
}

QByteArray FakeSftpServer::Reply(std::uint8_t type, std::uint32_t id, const QByteArray &body)
{
    return Packet(type, U32(id) + body);
}

void FakeSftpServer::Serve(const QByteArray &packet)
{
    const auto type = static_cast<std::uint8_t>(packet.at(0));
    if (type == 1) { // INIT
        if (AnswerInitWithStatus) {
            m_outbox += Status(0, 8, "INIT refused");
            return;
        }
        QByteArray body = U32(OfferedVersion);
        for (const auto &[name, value] : Extensions)
            body += String(name) + String(value);
        m_outbox += Packet(2, body);
        return;
    }
    Reader in{packet, 1};
    const std::uint32_t id = in.U32();
    RequestTypes << type;
    RequestIds << id;
    m_readCount += type == 5 ? 1 : 0;
    if (m_silent)
        return;
    if (Override) {
        const QByteArray answer = Override(type, id);
        if (!answer.isEmpty()) {
            if (type == 5 && ReverseReadReplies)
                m_heldReads << answer;
            else
                m_outbox += answer;
            m_silent = StallAfterOverride;
            return;
        }
    }
    if (SendStaleReplies)
        m_outbox += Status(id - 1, 4, "stale");

    switch (type) {
    case 16: { // REALPATH
        const QString path = Resolve(QString::fromUtf8(in.Str()));
        m_outbox += Reply(104, id, U32(1) + String(path.toUtf8()) + String(QByteArray()) + U32(0));
        return;
    }
    case 11: { // OPENDIR
        const QString path = QString::fromUtf8(in.Str());
        if (!Tree.contains(path)) {
            m_outbox += Status(id, 2, "No such file");
            return;
        }
        if (!Tree[path].directory) {
            m_outbox += Status(id, 4, "Failure");
            return;
        }
        const QByteArray handle = "d" + QByteArray::number(m_nextHandle++);
        m_handles[handle] = path;
        m_outbox += Reply(102, id, String(handle));
        return;
    }
    case 12: { // READDIR
        const QByteArray handle = in.Str();
        if (m_listed.value(handle)) {
            m_outbox += Status(id, 1, "End of file");
            return;
        }
        m_listed[handle] = true;
        const QString folder = m_handles.value(handle);
        QByteArray entries;
        std::uint32_t count = 0;
        for (auto it = Tree.cbegin(); it != Tree.cend(); ++it) {
            if (!it.key().startsWith(folder + QLatin1Char('/')) || it.key().mid(folder.size() + 1).contains(QLatin1Char('/')))
                continue;
            const QString name = it.key().mid(folder.size() + 1);
            QString longName = it->longName;
            if (longName.isNull())
                longName = (it->directory ? QStringLiteral("drwxr-xr-x 1 u g 0 ") : QStringLiteral("-rw-r--r-- 1 u g 0 ")) + name;
            entries += String(name.toUtf8()) + String(longName.toUtf8()) + Attributes(*it);
            ++count;
        }
        m_outbox += Reply(104, id, U32(count) + entries);
        return;
    }
    case 3: { // OPEN
        const QString path = QString::fromUtf8(in.Str());
        if (!Tree.contains(path) || Tree[path].directory) {
            m_outbox += Status(id, 2, "No such file");
            return;
        }
        const QByteArray handle = "f" + QByteArray::number(m_nextHandle++);
        m_handles[handle] = path;
        m_outbox += Reply(102, id, String(handle));
        return;
    }
    case 5: { // READ
        const QByteArray handle = in.Str();
        const std::uint64_t offset = in.U64();
        std::uint32_t length = in.U32();
        ReadLengths << length;
        ReadOffsets << offset;
        if (DataCap)
            length = qMin(length, DataCap);
        if (DataCapAt)
            length = qMin(length, DataCapAt(offset));
        const QByteArray &content = Tree[m_handles.value(handle)].content;
        if (offset >= static_cast<std::uint64_t>(content.size())) {
            m_outbox += Status(id, 1, "End of file");
            return;
        }
        const QByteArray reply = Reply(103, id, String(content.mid(static_cast<qsizetype>(offset), length)));
        if (ReverseReadReplies)
            m_heldReads << reply;
        else
            m_outbox += reply;
        return;
    }
    case 4: // CLOSE
        m_outbox += Status(id, 0, "Success");
        return;
    case 7:
    case 8:
    case 17: { // LSTAT, FSTAT, STAT
        const QByteArray argument = in.Str();
        const QString path = type == 8 ? m_handles.value(argument) : Resolve(QString::fromUtf8(argument));
        if (!Tree.contains(path)) {
            m_outbox += Status(id, 2, "No such file");
            return;
        }
        m_outbox += Reply(105, id, Attributes(Tree[path]));
        return;
    }
    default:
        m_outbox += Status(id, 8, "Operation unsupported");
    }
}
