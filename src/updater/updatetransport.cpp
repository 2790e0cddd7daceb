#include "updater/updatetransport.h"

#include "platform/programfolder.h"
#include "platform/sshchannel.h"
#include "platform/texception.h"
#include "updater/ftpclient.h"
#include "updater/sftp/simplesftp.h"
#include "updater/skyrunlog.h"
#include "updater/updateprogress.h"

#include <QFile>
#include <QScopeGuard>

TUpdateTransport::~TUpdateTransport() = default;

int PortNumber(const QString &port, int fallback)
{
    bool ok = false;
    const int number = port.trimmed().toInt(&ok);
    return ok && number > 0 && number <= 65535 ? number : fallback;
}

namespace {

class TFtpTransport final : public TUpdateTransport
{
public:
    explicit TFtpTransport(TUpdateProgress &progress)
    {
        // The progress outlives the run and so its transport.
        QObject::connect(&m_ftp, &TFtpClient::Status, [&progress](const QString &text) { progress.AddMessage(text); });
        QObject::connect(&m_ftp, &TFtpClient::WorkBegin,
                         [&progress](qint64 maximum) { progress.TransferStarted(maximum); });
        QObject::connect(&m_ftp, &TFtpClient::Work, [&progress](qint64 count) { progress.Transferred(count); });
        QObject::connect(&m_ftp, &TFtpClient::WorkEnd, [&progress] { progress.TransferEnded(); });
    }

    bool IsSftp() const override { return false; }

    void Connect(const TServerInfo &info) override
    {
        m_ftp.Username = info.ID;
        m_ftp.Password = info.PW;
        m_ftp.Host = info.IP;
        m_ftp.Port = PortNumber(info.Port, 21);
        m_ftp.Passive = info.Passive;
        m_ftp.ReadTimeout = 10000;
        m_ftp.Connect();
    }

    void Disconnect() override
    {
        try {
            m_ftp.Disconnect();
        } catch (const std::exception &) {
            // Leaving a server that has gone already is no failure of the run.
        }
    }

    bool ChangeDir(const QString &dir) override
    {
        try {
            m_ftp.ChangeDir(dir);
            return true;
        } catch (const std::exception &) {
            return false;
        }
    }

    QList<TServerFile> ListFiles() override
    {
        QList<TServerFile> files;
        for (const TFtpListItem &item : m_ftp.List()) {
            if (item.ItemType == TFtpItemType::File)
                files.append({item.FileName, item.ModifiedDate.isValid() ? FormatStamp(item.ModifiedDate) : QString()});
        }
        return files;
    }

    qint64 Size(const QString &name) override { return m_ftp.Size(name); }

    void Get(const QString &name, const QString &localFile, const TExpectedContent &expected) override
    {
        m_ftp.Get(name, localFile, expected);
    }

private:
    TFtpClient m_ftp;
};

class TSftpTransport final : public TUpdateTransport
{
public:
    TSftpTransport(TUpdateProgress &progress, bool preserveTimes, const QString &programFolder)
        : m_progress(progress)
        , m_preserveTimes(preserveTimes)
        , m_sftp(std::make_unique<TSshChannel>(Platform::WithTrailingSlash(programFolder) + QStringLiteral("known_hosts")))
    {
    }

    bool IsSftp() const override { return true; }

    void Connect(const TServerInfo &info) override
    {
        if (m_connected)
            return;
        m_sftp.Connect(info.IP, QString::number(PortNumber(info.Port, 22)), info.ID, info.PW);
        m_connected = true;
    }

    void Disconnect() override
    {
        if (!m_connected)
            return;
        m_connected = false;
        try {
            m_sftp.Disconnect();
        } catch (const std::exception &) {
        }
    }

    bool ChangeDir(const QString &dir) override
    {
        // A directory the server cannot open fails with the server's own text. Servers
        // name a directory without its trailing "/" ("/upd" for "/upd/"): both are the
        // directory asked for; any other answer is another directory.
        const QString resolved = m_sftp.ChangeDir(dir);
        return resolved == dir || resolved + QLatin1Char('/') == dir || resolved == dir + QLatin1Char('/');
    }

    QList<TServerFile> ListFiles() override
    {
        TSFTPFileList list;
        m_sftp.ListDir(m_sftp.CurrentDir, list);
        QList<TServerFile> files;
        for (int i = 0; i < list.Count(); ++i) {
            const TSFTPFileAttributes &item = list.Items(i);
            if (item.FileType != 1)
                continue;
            // The server's time in UTC, as the server gives it.
            const QDateTime time = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(item.ModifyTime), Qt::UTC);
            files.append({item.FileName, FormatStamp(time)});
        }
        return files;
    }

    qint64 Size(const QString &name) override
    {
        return static_cast<qint64>(m_sftp.FileSize(Folder() + name));
    }

    void Get(const QString &name, const QString &localFile, const TExpectedContent &expected) override
    {
        // The download always goes on.
        const TSFTPProgress progress = [this](qint64, std::uint64_t done, std::uint64_t total) {
            m_progress.TransferredOf(done, total);
            return true;
        };
        // The bytes arrive in a file of their own that becomes `localFile` only when whole:
        // a pending file is never a part of one, even after the updater was killed.
        const QString part = localFile + QStringLiteral(".part");
        QFile::remove(part);
        TContentCheck check(name, expected);
        bool tooMany = false;
        m_sftp.Written = [&](QByteArrayView bytes) { return !(tooMany = !check.Add(bytes)); };
        const auto unhook = qScopeGuard([this] { m_sftp.Written = {}; });
        try {
            try {
                m_sftp.GetFile(Folder(), name, part, m_preserveTimes, true, false, 0, progress);
            } catch (const TException &) {
                // Stopped because more came than may: that is what is wrong with the file.
                if (tooMany)
                    check.Finish();
                throw;
            }
            check.Finish();
            if (!QFile::rename(part, localFile))
                throw TException(QStringLiteral("Cannot create %1").arg(localFile));
        } catch (...) {
            QFile::remove(part);
            throw;
        }
    }

private:
    QString Folder() const
    {
        const QString dir = m_sftp.CurrentDir;
        if (dir.isEmpty())
            return QStringLiteral("./");
        return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
    }

    TUpdateProgress &m_progress;
    bool m_preserveTimes;
    TSimpleSFTP m_sftp;
    bool m_connected = false;
};

} // namespace

std::unique_ptr<TUpdateTransport> MakeFtpTransport(TUpdateProgress &progress)
{
    return std::make_unique<TFtpTransport>(progress);
}

std::unique_ptr<TUpdateTransport> MakeSftpTransport(TUpdateProgress &progress, bool preserveTimes,
                                                    const QString &programFolder)
{
    return std::make_unique<TSftpTransport>(progress, preserveTimes, programFolder);
}
