#include "testsupport.h"

#include "servedfolder.h"

#include "platform/texception.h"
#include "updater/ftpclient.h"
#include "updater/skyrunmessages.h"

#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <utime.h>

namespace {

QByteArray RandomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = static_cast<char>(QRandomGenerator::global()->bounded(256));
    return bytes;
}

// The pyftpdlib server that scripts/test starts; each test works in a folder of its own.
class FtpClientTest : public ServedFolderTest
{
protected:
    QString ServerDir() const { return QLatin1Char('/') + m_name + QLatin1Char('/'); }

    std::unique_ptr<TFtpClient> Client(const char *user, bool passive = true) const
    {
        auto ftp = std::make_unique<TFtpClient>();
        ftp->Username = QString::fromLatin1(user);
        ftp->Password = Env("TOVEL_FTP_PASSWORD");
        ftp->Host = Env("TOVEL_FTP_HOST");
        ftp->Port = Env("TOVEL_FTP_PORT").toInt();
        ftp->Passive = passive;
        ftp->ReadTimeout = 10000;
        return ftp;
    }

    // A client of `user`, logged in and in this test's folder.
    std::unique_ptr<TFtpClient> InFolder(const char *user) const
    {
        auto ftp = Client(user);
        ftp->Connect();
        ftp->ChangeDir(ServerDir());
        return ftp;
    }

    QStringList LocalFiles() const
    {
        return QDir(m_local.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_local;
};

QString FilesAndDirs(const QList<TFtpListItem> &items)
{
    QStringList rows;
    for (const TFtpListItem &item : items)
        if (item.ItemType == TFtpItemType::File || item.ItemType == TFtpItemType::Directory)
            rows << item.FileName + (item.ItemType == TFtpItemType::Directory ? QStringLiteral("/") : QString())
                    + QLatin1Char('|') + item.ModifiedDate.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    rows.sort();
    return rows.join(QLatin1Char('\n'));
}

// MLSD, Unix LIST, DOS LIST and code page 949 names all give the same entries and times.
TEST_F(FtpClientTest, ListsTheSameFolderInEveryListingStyle)
{
    const QDateTime when = QDateTime(QDate::currentDate().addDays(-3), QTime(9, 41));
    Serve(QStringLiteral("app.dll"), "binary", when);
    Serve(QStringLiteral("한글 이름.txt"), "korean", when);
    ASSERT_TRUE(QDir(m_served).mkdir(QStringLiteral("sub")));
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const QString expected = QStringLiteral("app.dll|%1\nsub/|%2\n한글 이름.txt|%1")
                                 .arg(stamp, QDateTime(QFileInfo(m_served + QStringLiteral("/sub")).lastModified())
                                                 .toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    const std::tuple<const char *, bool, bool> users[] = {
        {"tovel", true, true}, {"unix", false, true}, {"dos", false, true}, {"cp949", false, false}};
    for (const auto &[user, mlsd, utf8] : users) {
        auto ftp = Client(user);
        ftp->Connect();
        EXPECT_EQ(ftp->MlsdOffered(), mlsd) << user;
        EXPECT_EQ(ftp->Utf8Names(), utf8) << user;
        ftp->ChangeDir(ServerDir());
        EXPECT_EQ(FilesAndDirs(ftp->List()), expected) << user;
        ftp->Disconnect();
    }
}

TEST_F(FtpClientTest, SizeAndFetchAreByteIdenticalWithProgress)
{
    const QByteArray bytes = RandomBytes(300000);
    Serve(QStringLiteral("big file.bin"), bytes);
    Serve(QStringLiteral("빈 파일"), {});
    for (const char *user : {"tovel", "cp949"}) {
        for (const bool passive : {true, false}) {
            auto ftp = Client(user, passive);
            qint64 begun = -1, last = -1;
            int ended = 0;
            QObject::connect(ftp.get(), &TFtpClient::WorkBegin, [&](qint64 max) { begun = max; });
            QObject::connect(ftp.get(), &TFtpClient::Work, [&](qint64 count) { last = count; });
            QObject::connect(ftp.get(), &TFtpClient::WorkEnd, [&] { ++ended; });
            ftp->Connect();
            ftp->ChangeDir(ServerDir());
            const qint64 size = ftp->Size(QStringLiteral("big file.bin"));
            EXPECT_EQ(size, 300000) << user;
            const QString local = m_local.filePath(QStringLiteral("%1-%2.bin").arg(QLatin1String(user)).arg(passive));
            EXPECT_EQ(ftp->Get(QStringLiteral("big file.bin"), local, size), 300000);
            EXPECT_EQ(ReadFileBytes(local), bytes) << user << " passive " << passive;
            EXPECT_TRUE(begun == 300000 && last == 300000 && ended == 1) << begun << " " << last << " " << ended;
            const QString empty = m_local.filePath(QStringLiteral("%1-%2.empty").arg(QLatin1String(user)).arg(passive));
            EXPECT_EQ(ftp->Size(QStringLiteral("빈 파일")), 0);
            EXPECT_EQ(ftp->Get(QStringLiteral("빈 파일"), empty, 0), 0);
            EXPECT_TRUE(QFileInfo(empty).isFile());
            EXPECT_EQ(ftp->Size(QStringLiteral("missing.bin")), -1);
        }
    }
}

// The server sends half of "cutshort.dll" and then says the transfer is complete; it drops
// the data connection of "dropped.dll".
TEST_F(FtpClientTest, AFileCutShortOrDroppedFailsAndLeavesNoTarget)
{
    Serve(QStringLiteral("cutshort.dll"), RandomBytes(100000));
    Serve(QStringLiteral("dropped.dll"), RandomBytes(100000));
    auto ftp = InFolder("tovel");
    const QString local = m_local.filePath(QStringLiteral("cutshort.dll"));
    const qint64 size = ftp->Size(QStringLiteral("cutshort.dll"));
    EXPECT_NE(ErrorOf([&] { ftp->Get(QStringLiteral("cutshort.dll"), local, size); }), QStringLiteral("(no error)"));
    EXPECT_EQ(LocalFiles(), QStringList());
    // More bytes than the size said, ending with 226, fail as well: the client reads
    // until the server closes the data connection, not only as far as the size.
    Serve(QStringLiteral("oversize.dll"), RandomBytes(1000));
    EXPECT_EQ(ErrorOf([&] { ftp->Get(QStringLiteral("oversize.dll"), local, ftp->Size(QStringLiteral("oversize.dll"))); }),
              QStringLiteral("oversize.dll: received 1010 of 1000 bytes"));
    EXPECT_EQ(LocalFiles(), QStringList());
    // A size of 0 is a server that cannot tell: the whole file is taken.
    Serve(QStringLiteral("zerosize.dll"), "not empty");
    EXPECT_EQ(ftp->Size(QStringLiteral("zerosize.dll")), 0);
    EXPECT_EQ(ftp->Get(QStringLiteral("zerosize.dll"), local, 0), 9);
    EXPECT_EQ(ReadFileBytes(local), "not empty");
    QFile::remove(local);
    // The connection serves on.
    Serve(QStringLiteral("after.txt"), "after");
    EXPECT_EQ(ftp->Get(QStringLiteral("after.txt"), m_local.filePath(QStringLiteral("after.txt")), 5), 5);
    // A file that changed size since the size was asked fails too.
    EXPECT_EQ(ErrorOf([&] { ftp->Get(QStringLiteral("after.txt"), m_local.filePath(QStringLiteral("changed.txt")), 6); }),
              QStringLiteral("after.txt: received 5 of 6 bytes"));
    EXPECT_EQ(LocalFiles(), QStringList{QStringLiteral("after.txt")});
    // An existing local file is never overwritten.
    const QString after = m_local.filePath(QStringLiteral("after.txt"));
    WriteFileBytes(after, "local");
    EXPECT_EQ(ErrorOf([&] { ftp->Get(QStringLiteral("after.txt"), after, 5); }),
              QStringLiteral("The local file already exists: ") + after);
    EXPECT_EQ(ReadFileBytes(after), "local");
    auto fresh = InFolder("tovel");
    EXPECT_NE(ErrorOf([&] { fresh->Get(QStringLiteral("dropped.dll"), local, 100000); }), QStringLiteral("(no error)"));
    EXPECT_EQ(LocalFiles(), QStringList{QStringLiteral("after.txt")});
}

TEST_F(FtpClientTest, AMissingDirectoryFailsAndTheConnectionGoesOn)
{
    Serve(QStringLiteral("a.txt"), "x");
    auto ftp = Client("unix");
    ftp->Connect();
    EXPECT_EQ(ErrorOf([&] { ftp->ChangeDir(QStringLiteral("/no such dir/")); }),
              QStringLiteral("550 No such file or directory."));
    ftp->ChangeDir(ServerDir());
    EXPECT_EQ(ftp->CurrentDir(), ServerDir());
    EXPECT_EQ(ftp->List().size(), 1);
    // Paths count from the server's root, wherever the last change led.
    ASSERT_TRUE(QDir(m_served).mkpath(QStringLiteral("sub/deeper")));
    Serve(QStringLiteral("sub/deeper/b.txt"), "b");
    ftp->ChangeDir(ServerDir() + QStringLiteral("sub/deeper/"));
    EXPECT_EQ(FilesAndDirs(ftp->List()).section(QLatin1Char('|'), 0, 0), QStringLiteral("b.txt"));
    ftp->ChangeDir(ServerDir() + QStringLiteral("sub"));
    EXPECT_EQ(ftp->CurrentDir(), ServerDir() + QStringLiteral("sub/"));
    EXPECT_EQ(FilesAndDirs(ftp->List()).section(QLatin1Char('|'), 0, 0), QStringLiteral("deeper/"));
}

// The failure reaches the message list as "FTP Connection Error: " and the server's reply.
TEST_F(FtpClientTest, AWrongPasswordUnreachablePortOrTimeoutGivesAReadableText)
{
    auto ftp = Client("tovel");
    ftp->Password = QStringLiteral("wrong-password");
    QStringList status;
    QObject::connect(ftp.get(), &TFtpClient::Status, [&](const QString &text) { status << text; });
    const QString error = ErrorOf([&] { ftp->Connect(); });
    EXPECT_EQ(QString::fromUtf8(FtpConnectionErrorPrefix) + error,
              QStringLiteral("FTP Connection Error: 530 Authentication failed."));
    EXPECT_FALSE(ftp->Connected());
    EXPECT_EQ(status.join(QLatin1Char('|')), QStringLiteral("Connecting to 127.0.0.1:%1.").arg(ftp->Port));
    // An unreachable port gives the transport's text, without the password.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    ftp->Port = closed.serverPort();
    closed.close();
    ftp->Password = Env("TOVEL_FTP_PASSWORD");
    const QString refused = ErrorOf([&] { ftp->Connect(); });
    EXPECT_TRUE(refused.startsWith(QStringLiteral("Failed to connect to 127.0.0.1 port %1").arg(ftp->Port)))
        << refused.toStdString();
    EXPECT_FALSE(refused.contains(ftp->Password));
    // Replies after the login of "stall" take 3 s; a read timeout of 1 s ends the wait with an error.
    auto stall = Client("stall");
    stall->ReadTimeout = 1000;
    QElapsedTimer clock;
    clock.start();
    const QString timeout = ErrorOf([&] { stall->Connect(); });
    EXPECT_TRUE(timeout.contains(QStringLiteral("timeout"), Qt::CaseInsensitive)
                || timeout.contains(QStringLiteral("timed out"), Qt::CaseInsensitive))
        << timeout.toStdString();
    EXPECT_LT(clock.elapsed(), 2900);
}

// Every reply of this user comes 0.3 s late: events keep flowing, and a call made from an
// event while another waits is refused instead of nesting on the one connection.
TEST_F(FtpClientTest, ASlowServerLeavesTheEventLoopRunning)
{
    Serve(QStringLiteral("a.txt"), "slow");
    auto ftp = Client("slow");
    int ticks = 0;
    QString nested;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (++ticks == 5)
            nested = ErrorOf([&] { ftp->List(); });
    });
    timer.start(10);
    ftp->Connect();
    ftp->ChangeDir(ServerDir());
    EXPECT_EQ(ftp->List().size(), 1);
    timer.stop();
    EXPECT_GT(ticks, 40);
    EXPECT_EQ(nested, QStringLiteral("The FTP client is busy."));
}

// A host or port from the settings file goes into no request unchecked.
TEST(FtpClient, HostsAndPortsThatAreNoAddressFailBeforeAnyConnection)
{
    TFtpClient ftp;
    ftp.Port = 21;
    for (const char *host : {"", "evil/host", "user@host", "host:21", "host name", "host#x"}) {
        ftp.Host = QString::fromLatin1(host);
        EXPECT_EQ(ErrorOf([&] { ftp.Connect(); }), QStringLiteral("Invalid host name: ") + ftp.Host);
    }
    ftp.Host = QStringLiteral("127.0.0.1");
    ftp.Port = 70000;
    EXPECT_EQ(ErrorOf([&] { ftp.Connect(); }), QStringLiteral("Invalid port: 70000"));
    EXPECT_FALSE(ftp.Connected());
}

// A proxy named in the environment is never used: it would receive the credentials in a URL.
TEST_F(FtpClientTest, AProxyInTheEnvironmentIsNeverUsed)
{
    Serve(QStringLiteral("app.dll"), "binary");
    const char *names[] = {"ALL_PROXY", "all_proxy", "ftp_proxy", "FTP_PROXY"};
    for (const char *name : names)
        qputenv(name, "http://127.0.0.1:9");
    auto ftp = InFolder("tovel");
    EXPECT_EQ(ftp->List().size(), 1);
    EXPECT_EQ(ftp->Size(QStringLiteral("app.dll")), 6);
    ftp->Disconnect();
    for (const char *name : names)
        qunsetenv(name);
}

} // namespace
