#include "delayproxy.h"
#include "platform/sshchannel.h"
#include "platform/texception.h"
#include "testsupport.h"
#include "updater/sftp/simplesftp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// The OpenSSH server that scripts/test starts; its served folder is the user's home.
class SftpServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (Env("TOVEL_SFTP_PORT").isEmpty())
            GTEST_SKIP() << "no SSH server was started for this run";
        m_root = Env("TOVEL_SFTP_ROOT");
        m_work = m_root + QStringLiteral("/") + QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        QDir().mkpath(m_work);
        m_sftp = NewClient();
    }

    std::unique_ptr<TSimpleSFTP> NewClient() const
    {
        return std::make_unique<TSimpleSFTP>(std::make_unique<TSshChannel>(KnownHosts()));
    }

    QString KnownHosts() const { return m_local.filePath(QStringLiteral("known_hosts")); }

    void Connect(TSimpleSFTP &sftp, const QString &password = Env("TOVEL_SFTP_PASSWORD"),
                 const QString &port = Env("TOVEL_SFTP_PORT"))
    {
        sftp.Connect(Env("TOVEL_SFTP_HOST"), port, Env("TOVEL_SFTP_USER"), password);
    }

    QString Served(const QString &name) const { return m_work + QLatin1Char('/') + name; }
    QString Local(const QString &name) const { return m_local.filePath(name); }

    void Put(const QString &name, const QByteArray &content)
    {
        WriteFileBytes(Served(name), content);
        QFile::setPermissions(Served(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::ReadGroup);
    }

    QString m_root;
    QString m_work;
    QTemporaryDir m_local;
    std::unique_ptr<TSimpleSFTP> m_sftp;
};


} // namespace

TEST_F(SftpServerTest, ConnectsIntoTheHomeFolderAndChangesDirectory)
{
    Connect(*m_sftp);
    EXPECT_EQ(m_sftp->CurrentDir, QDir(m_root).canonicalPath());
    EXPECT_EQ(m_sftp->Version, 3u);
    Put(QStringLiteral("plain.txt"), "text");
    EXPECT_EQ(m_sftp->ChangeDir(m_work), m_work);
    const QString error = ErrorOf([this] { m_sftp->ChangeDir(QStringLiteral("plain.txt")); });
    EXPECT_TRUE(error.startsWith(QStringLiteral("Unable to open directory: ") + m_work + QStringLiteral("/plain.txt\r\n")))
        << error.toStdString();
    EXPECT_EQ(m_sftp->CurrentDir, m_work);
    EXPECT_TRUE(QFileInfo::exists(KnownHosts())) << "the host key was recorded on first use";
}

TEST_F(SftpServerTest, ListingGivesFilesFoldersAndLinks)
{
    Put(QStringLiteral("file.dat"), "12345");
    QDir().mkpath(Served(QStringLiteral("folder")));
    QFile::link(QStringLiteral("file.dat"), Served(QStringLiteral("link")));
    Connect(*m_sftp);
    TSFTPFileList list;
    m_sftp->ListDir(m_work, list);
    QStringList seen;
    for (int i = 0; i < list.Count(); ++i)
        seen << list.Items(i).FileName + QLatin1Char(':') + QString::number(list.Items(i).FileType);
    seen.sort();
    EXPECT_EQ(seen.join(QLatin1Char(' ')), QStringLiteral("file.dat:1 folder:2 link:3"));
}

TEST_F(SftpServerTest, DownloadsAreByteIdenticalWithTheReadsAndProgressExpected)
{
    Put(QStringLiteral("empty"), QByteArray());
    QByteArray exact(65536, Qt::Uninitialized);
    QByteArray large(5 * 1024 * 1024 + 123, Qt::Uninitialized);
    QRandomGenerator generator(11);
    for (QByteArray *bytes : {&exact, &large}) {
        for (qsizetype i = 0; i < bytes->size(); ++i)
            (*bytes)[i] = static_cast<char>(generator.generate());
    }
    Put(QStringLiteral("exact"), exact);
    Put(QStringLiteral("large"), large);
    {
        struct timespec times[2] = {{1500000000, 0}, {1400000000, 0}};
        ::utimensat(AT_FDCWD, QFile::encodeName(Served(QStringLiteral("large"))).constData(), times, 0);
    }
    Connect(*m_sftp);

    EXPECT_EQ(m_sftp->GetFile(m_work, QStringLiteral("empty"), Local(QStringLiteral("empty")), false, true, false, 0), 0u);
    EXPECT_EQ(QFileInfo(Local(QStringLiteral("empty"))).size(), 0);

    int calls = 0;
    m_sftp->GetFile(m_work, QStringLiteral("exact"), Local(QStringLiteral("exact")), false, true, false, 0,
                    [&calls](qint64, std::uint64_t, std::uint64_t) { return ++calls > 0; });
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(ReadFileBytes(Local(QStringLiteral("exact"))), exact);

    EXPECT_EQ(m_sftp->GetFile(m_work, QStringLiteral("large"), Local(QStringLiteral("large")), true, true, false, 0),
              static_cast<std::uint64_t>(large.size()));
    EXPECT_EQ(ReadFileBytes(Local(QStringLiteral("large"))), large);
    EXPECT_EQ(QFileInfo(Local(QStringLiteral("large"))).lastModified().toSecsSinceEpoch(), 1400000000);
    EXPECT_EQ(m_sftp->FileSize(m_work + QStringLiteral("/large")), static_cast<std::uint64_t>(large.size()));
}

TEST_F(SftpServerTest, AWrongPasswordFailsWithTheLibrarysText)
{
    const QString error = ErrorOf([this] { Connect(*m_sftp, QStringLiteral("wrong-password")); });
    EXPECT_TRUE(error.startsWith(QStringLiteral("Authentication failed"))) << error.toStdString();
}

TEST_F(SftpServerTest, AChangedHostKeyIsRefused)
{
    // The file holds another key for this host and port, as after a server was replaced.
    const QByteArray otherKey = ReadFileBytes(Env("TOVEL_SFTP_OTHER_KEY")).trimmed();
    const QByteArray hostPort = "[" + Env("TOVEL_SFTP_HOST").toLatin1() + "]:" + Env("TOVEL_SFTP_PORT").toLatin1();
    WriteFileBytes(KnownHosts(), hostPort + ' ' + otherKey.left(otherKey.lastIndexOf(' ')) + '\n');
    const QString error = ErrorOf([this] { Connect(*m_sftp); });
    EXPECT_TRUE(error.contains(QStringLiteral("host key of %1:%2 has changed").arg(Env("TOVEL_SFTP_HOST"), Env("TOVEL_SFTP_PORT"))))
        << error.toStdString();
    EXPECT_TRUE(error.contains(QLatin1String("SHA256:"))) << "the error names the fingerprint";
}

TEST_F(SftpServerTest, ADownloadAtADistanceIsByteIdenticalAndAnAbortLeavesTheSessionUsable)
{
    QByteArray content(3 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(12);
    for (qsizetype i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(generator.generate());
    Put(QStringLiteral("far"), content);
    TDelayProxy proxy(Env("TOVEL_SFTP_PORT").toInt(), std::chrono::milliseconds(10));
    Connect(*m_sftp, Env("TOVEL_SFTP_PASSWORD"), QString::number(proxy.Port()));

    QStringList events;
    bool ordered = true;
    std::uint64_t last = 0;
    const auto record = [&](std::uint64_t done, std::uint64_t total) {
        events << QStringLiteral("%1/%2").arg(done).arg(total);
        ordered = ordered && done > last && done <= total;
        last = done;
    };
    EXPECT_EQ(m_sftp->GetFile(m_work, QStringLiteral("far"), Local(QStringLiteral("far")), false, true, false, 0,
                              [&](qint64, std::uint64_t done, std::uint64_t total) {
                                  record(done, total);
                                  return true;
                              }),
              static_cast<std::uint64_t>(content.size()));
    EXPECT_EQ(ReadFileBytes(Local(QStringLiteral("far"))), content);
    EXPECT_TRUE(ordered) << events.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(events.size(), 96);
    EXPECT_EQ(events.back(), QStringLiteral("3145728/3145728"));

    events.clear();
    last = 0;
    const QString error = ErrorOf([&] {
        m_sftp->GetFile(m_work, QStringLiteral("far"), Local(QStringLiteral("cut")), false, true, false, 0,
                        [&](qint64, std::uint64_t done, std::uint64_t total) {
                            record(done, total);
                            return events.size() < 3;
                        });
    });
    EXPECT_EQ(error, QStringLiteral("File transfer aborted: ") + m_work + QStringLiteral("/far"));
    EXPECT_EQ(ReadFileBytes(Local(QStringLiteral("cut"))), content.left(3 * 32768));
    EXPECT_EQ(m_sftp->FileSize(m_work + QStringLiteral("/far")), static_cast<std::uint64_t>(content.size()))
        << "the replies in flight at the abort were drained";
}
