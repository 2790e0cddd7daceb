// SFTP replies from a hostile server, fed to the client through its channel seam: each
// request of the client is answered by the next piece of the input, framed with the
// request's id (or, when the input says so, with another id or no framing at all). Names
// the client hands on never leave their folder, and a download never reports more bytes
// than it put on disk.
#include "fuzzsupport.h"
#include "platform/sftpchannel.h"
#include "platform/texception.h"
#include "updater/sftp/simplesftp.h"

#include <QFile>
#include <QtEndian>

namespace {

class TFuzzChannel final : public TSftpChannel
{
public:
    explicit TFuzzChannel(QByteArray input)
        : m_input(std::move(input))
    {
    }

    void Open(const QString &, int, const QString &, const QString &) override { m_open = true; }
    void Close() override { m_open = false; }
    bool IsOpen() const override { return m_open; }

    void Write(const QByteArray &bytes) override
    {
        m_written += bytes;
        while (m_written.size() >= 5) {
            const quint32 length = qFromBigEndian<quint32>(m_written.constData());
            if (length > 1u << 20 || m_written.size() < 4 + static_cast<qsizetype>(length))
                break;
            const QByteArray packet = m_written.mid(4, length);
            m_written.remove(0, 4 + length);
            Answer(packet);
        }
    }

    qsizetype Read(char *buffer, qsizetype capacity, int) override
    {
        if (m_replies.isEmpty())
            throw TException(QStringLiteral("Timeout"));
        const qsizetype count = std::min(capacity, m_replies.size());
        std::memcpy(buffer, m_replies.constData(), static_cast<std::size_t>(count));
        m_replies.remove(0, count);
        return count;
    }

private:
    QByteArray Take(qsizetype count)
    {
        const QByteArray piece = m_input.mid(m_at, count);
        m_at += piece.size();
        return piece;
    }

    quint8 TakeByte()
    {
        const QByteArray byte = Take(1);
        return byte.isEmpty() ? 0 : static_cast<quint8>(byte[0]);
    }

    static QByteArray U32(quint32 value)
    {
        QByteArray bytes(4, '\0');
        qToBigEndian(value, bytes.data());
        return bytes;
    }

    void Answer(const QByteArray &request)
    {
        if (m_at >= m_input.size())
            return;
        const quint8 control = TakeByte();
        const qsizetype length = (TakeByte() << 8) | TakeByte();
        const QByteArray payload = Take(length);
        if (control & 0x80) {
            m_replies += payload; // no framing: whatever the server sends
            return;
        }
        static const quint8 types[] = {2, 101, 102, 103, 104, 105, 201};
        const quint8 type = request.at(0) == 1 ? 2 : types[(control & 0x0F) % 7];
        QByteArray reply(1, static_cast<char>(type));
        if (type != 2)
            reply += control & 0x40 ? Take(4) : request.mid(1, 4);
        reply += payload;
        m_replies += U32(static_cast<quint32>(reply.size())) + reply;
    }

    QByteArray m_input;
    qsizetype m_at = 0;
    QByteArray m_written;
    QByteArray m_replies;
    bool m_open = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    TSimpleSFTP sftp(std::make_unique<TFuzzChannel>(FuzzBytes(data, size)));
    const QString local = FuzzScratch() + QStringLiteral("/download");
    QFile::remove(local);
    try {
        sftp.Connect(QStringLiteral("host"), QStringLiteral("22"), QStringLiteral("user"), QStringLiteral("pw"));
        TSFTPFileList list;
        sftp.ListDir(QStringLiteral("/upd"), list);
        for (int i = 0; i < list.Count(); ++i) {
            const QString &name = list.Items(i).FileName;
            FUZZ_CHECK(!name.isEmpty() && !name.contains(QLatin1Char('/')));
            FUZZ_CHECK(name != QLatin1String(".") && name != QLatin1String(".."));
        }
        sftp.FileSize(QStringLiteral("/upd/a.dll"));
        const std::uint64_t written =
            sftp.GetFile(QStringLiteral("/upd/"), QStringLiteral("a.dll"), local, false, true, false, 0);
        FUZZ_CHECK(static_cast<std::uint64_t>(QFile(local).size()) >= written);
    } catch (const TException &) {
        // A reply that makes no sense fails the call; that is all it may do.
    }
    return 0;
}
