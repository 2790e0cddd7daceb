#include "fakesftpserver.h"
#include "platform/texception.h"
#include "sftpwirefixture.h"
#include "testsupport.h"
#include "updater/sftp/simplesftp.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <utility>

TEST_F(SftpWireTest, InitIsNineBytesAndTheFirstRequestCarriesIdSix)
{
    m_server->Extensions = {{"newline", "\n"}, {"newline", "\r"}};
    Connect();
    EXPECT_EQ(m_server->Written.left(9).toHex(), QByteArray("000000050100000003"));
    ASSERT_FALSE(m_server->RequestIds.isEmpty());
    EXPECT_EQ(m_server->RequestIds.front(), 6u);
    EXPECT_EQ(m_server->RequestTypes.front(), 16) << "REALPATH resolves the start folder";
    EXPECT_EQ(m_sftp->CurrentDir, QStringLiteral("/home/test"));
    EXPECT_EQ(m_sftp->NewLine, QStringLiteral("\n")) << "the first newline pair counts";
    EXPECT_EQ(m_sftp->Version, 3u);
}

TEST_F(SftpWireTest, VersionNegotiationRefusesNewerServersAndOtherRepliesAndOlderIdsAreSkipped)
{
    m_server->OfferedVersion = 4;
    EXPECT_EQ(ErrorOf([this] { Connect(); }), QStringLiteral("Invalid protocol version: 3<4"));
    EXPECT_FALSE(m_server->IsOpen()) << "a failed connect disconnects";

    m_server->OfferedVersion = 3;
    m_server->AnswerInitWithStatus = true;
    EXPECT_EQ(ErrorOf([this] { Connect(); }), QStringLiteral("Unexpected packet type: 2<>101"));

    m_server->AnswerInitWithStatus = false;
    m_server->OfferedVersion = 2;
    Connect();
    EXPECT_EQ(m_sftp->Version, 2u) << "an older server's version is taken";

    m_server->SendStaleReplies = true;
    m_server->AddFile(QStringLiteral("/home/test/a.txt"), "hello");
    Connect();
    EXPECT_EQ(m_sftp->FileSize(QStringLiteral("/home/test/a.txt")), 5u);
}

TEST_F(SftpWireTest, AFailureStatusRaisesThePrefixAndTheServersLinesAndChangeDirRefusesAPlainFile)
{
    Connect();
    EXPECT_EQ(ErrorOf([this] { m_sftp->OpenFile(QStringLiteral("/x"), 1); }),
              QStringLiteral("Unable to open file: /x\r\nNo such file\r\n"));
    m_server->Override = [](std::uint8_t, std::uint32_t id) { return FakeSftpServer::Status(id, 4, "Failure"); };
    EXPECT_EQ(ErrorOf([this] { m_sftp->OpenFile(QStringLiteral("/x"), 1); }),
              QStringLiteral("Unable to open file: /x\r\nFailure\r\n"));
    m_server->Override = nullptr;

    m_server->AddFolder(QStringLiteral("/home/test/sub"));
    m_server->AddFile(QStringLiteral("/home/test/file.bin"), "x");
    EXPECT_EQ(m_sftp->ChangeDir(QStringLiteral("sub")), QStringLiteral("/home/test/sub"));
    EXPECT_EQ(m_sftp->ChangeDir(QStringLiteral("../sub/.")), QStringLiteral("/home/test/sub"));
    EXPECT_EQ(ErrorOf([this] { m_sftp->ChangeDir(QStringLiteral("/home/test/file.bin")); }),
              QStringLiteral("Unable to open directory: /home/test/file.bin\r\nFailure\r\n"));
    EXPECT_EQ(m_sftp->CurrentDir, QStringLiteral("/home/test/sub"));
}

TEST_F(SftpWireTest, ListingTypesComeFromPermissionsOrTheLongNameAndUnsafeNamesAreLeftOut)
{
    m_server->AddFolder(QStringLiteral("/home/test/dir"));
    m_server->AddFile(QStringLiteral("/home/test/plain"), "1");
    Connect();
    m_server->Override = [](std::uint8_t type, std::uint32_t id) -> QByteArray {
        if (type != 12)
            return {};
        static int calls = 0;
        if (calls++ % 2)
            return FakeSftpServer::Status(id, 1, "eof");
        const auto entry = [](const char *name, const char *longName) {
            return FakeSftpServer::String(name) + FakeSftpServer::String(longName) + QByteArray(4, '\0');
        };
        QByteArray body(4, '\0');
        qToBigEndian<std::uint32_t>(id, body.data());
        QByteArray count(4, '\0');
        qToBigEndian<std::uint32_t>(7, count.data());
        return FakeSftpServer::Packet(104, body + count + entry("d1", "drwx") + entry("f1", "-rw") + entry("n1", "")
                                               + entry("..", "drwx") + entry(".", "drwx") + entry("a/b", "-rw")
                                               + entry("l1", "lrwx"));
    };
    TSFTPFileList list;
    m_sftp->ListDir(QStringLiteral("/home/test"), list);
    QStringList seen;
    for (int i = 0; i < list.Count(); ++i)
        seen << list.Items(i).FileName + QLatin1Char(':') + QString::number(list.Items(i).FileType);
    EXPECT_EQ(seen.join(QLatin1Char(' ')), QStringLiteral("d1:2 f1:1 n1:0 l1:3"));
}

TEST_F(SftpWireTest, EmptyAndExactFilesSendOnlyTheReadsTheyNeedOffsetsAppendAbortAndAnEarlyEndFails)
{
    m_server->AddFile(QStringLiteral("/home/test/empty"), QByteArray());
    m_server->AddFile(QStringLiteral("/home/test/two"), RandomBytes(65536, 1));
    Connect();
    EXPECT_EQ(m_sftp->GetFile(QStringLiteral("/home/test"), QStringLiteral("empty"), Local("empty"), false, true, false, 0), 0u);
    EXPECT_EQ(Reads(), 0);
    EXPECT_TRUE(QFileInfo::exists(Local("empty")));
    EXPECT_EQ(QFileInfo(Local("empty")).size(), 0);

    QStringList calls;
    m_sftp->GetFile(QStringLiteral("/home/test"), QStringLiteral("two"), Local("two"), false, true, false, 0,
                    [&calls](qint64 user, std::uint64_t done, std::uint64_t total) {
                        calls << QStringLiteral("%1:%2/%3").arg(user).arg(done).arg(total);
                        return true;
                    },
                    42);
    EXPECT_EQ(Reads(), 2);
    EXPECT_EQ(calls.join(QLatin1Char(' ')), QStringLiteral("42:32768/65536 42:65536/65536"));

    const QByteArray content = RandomBytes(40000, 9);
    m_server->AddFile(QStringLiteral("/home/test/f"), content);
    WriteFileBytes(Local("f"), content.left(1000));
    EXPECT_EQ(m_sftp->GetFile(QStringLiteral("/home/test/"), QStringLiteral("f"), Local("f"), false, false, true, 1000), 39000u);
    EXPECT_EQ(ReadFileBytes(Local("f")), content) << "resumed from where the local copy stops";

    EXPECT_EQ(ErrorOf([this] {
                  m_sftp->GetFile(QStringLiteral("/home/test"), QStringLiteral("f"), Local("g"), false, true, false, 50000);
              }),
              QStringLiteral("Invalid file position: /home/test/f (50000)"));
    EXPECT_EQ(ErrorOf([this] {
                  m_sftp->GetFile(QStringLiteral("/home/test"), QStringLiteral("f"), Local("h"), false, true, false, 0,
                                  [](qint64, std::uint64_t, std::uint64_t) { return false; });
              }),
              QStringLiteral("File transfer aborted: /home/test/f"));

    m_server->AddFile(QStringLiteral("/home/test/cut.bin"), RandomBytes(50000, 3));
    m_server->RequestTypes.clear();
    m_server->Override = [this](std::uint8_t type, std::uint32_t id) -> QByteArray {
        if (type == 5 && m_server->RequestTypes.count(5) > 1)
            return FakeSftpServer::Status(id, 1, "End of file");
        return {};
    };
    EXPECT_EQ(ErrorOf([this] {
                  m_sftp->GetFile(QStringLiteral("/home/test"), QStringLiteral("cut.bin"), Local("cut.bin"), false,
                                  true, false, 0);
              }),
              QStringLiteral("Unexpected end of file: /home/test/cut.bin (32768 of 50000 bytes)"));
}

TEST_F(SftpWireTest, HostileRepliesEndInACleanErrorWithinOneSecond)
{
    m_server->AddFile(QStringLiteral("/home/test/f"), RandomBytes(1000, 5));
    const struct {
        const char *name;
        std::function<QByteArray(std::uint32_t id)> reply;
        const char *error;
    } cases[] = {
        {"length far over the bound", [&](std::uint32_t) { return U32(0x7FFFFFFF) + QByteArray(1, 104); }, "Invalid packet length: 2147483647"},
        {"length shorter than its header", [&](std::uint32_t) { return U32(2) + QByteArray(1, 104) + "x"; }, "Invalid packet length: 2"},
        {"stream ends inside a packet", [&](std::uint32_t id) { return U32(100) + QByteArray(1, 104) + U32(id) + "abc"; }, "Timeout"},
        {"NAME count beyond its payload", [&](std::uint32_t id) { return FakeSftpServer::Packet(104, U32(id) + U32(0xFFFFFFFF) + QByteArray(8, '\0')); }, "Malformed packet from the server"},
        {"string longer than the packet", [&](std::uint32_t id) { return FakeSftpServer::Packet(104, U32(id) + U32(1) + U32(5000) + "ab"); }, "Malformed packet from the server"},
    };
    for (const auto &c : cases) {
        FakeSftpServer *server = m_server;
        Connect();
        server->Override = [&c](std::uint8_t, std::uint32_t id) { return c.reply(id); };
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(ErrorOf([this] { m_sftp->RealPath(QStringLiteral(".")); }), QString::fromLatin1(c.error)) << c.name;
        EXPECT_LT(timer.elapsed(), 1000 * SanitizerSlowdown) << c.name;
        server->Override = nullptr;
    }

    Connect();
    m_server->Override = [&](std::uint8_t type, std::uint32_t id) -> QByteArray {
        if (type != 5)
            return {};
        return FakeSftpServer::Packet(103, U32(id) + FakeSftpServer::String(QByteArray(40000, 'x')));
    };
    EXPECT_EQ(ErrorOf([this] { m_sftp->ReadBlock("f1", 32768, 0); }),
              QStringLiteral("Unable to read file: f1 (more data than requested)"));
}

// Names dropped as unsafe used to count for nothing, so a server sending only ".." kept
// the client asking for 100,000 replies; and any name length or listing size was taken.
TEST_F(SftpWireTest, ListingsThatNeverEndOrHoldUnsafeNamesOnlyOverlongNamesOrTooManyBytesAreRefused)
{
    const auto entry = [](const QByteArray &name, const QByteArray &longName) {
        return FakeSftpServer::String(name) + FakeSftpServer::String(longName) + U32(0);
    };
    const QByteArray bigLongName(4000, 'l');
    QByteArray bigReply = U32(60); // about 240 KB, near the largest packet taken
    for (int i = 0; i < 60; ++i)
        bigReply += entry("x" + QByteArray::number(i), bigLongName);
    const char *const endless = " (the listing does not end)";
    const struct {
        const char *name;
        QByteArray entries; // what every NAME reply holds, without end
        const char *ending;
        int mostReplies;
    } cases[] = {
        {"one entry each time", U32(1) + entry("x", "-rw"), endless, 100001},
        {"no entry each time", U32(0), endless, 100001},
        {"only unsafe names", U32(2) + entry("..", "drwx") + entry("a/b", "-rw"), endless, 100},
        {"a name of 4097 bytes", U32(1) + entry(QByteArray(4097, 'n'), "-rw"), " (name longer than 4096 bytes)", 1},
        {"a long name of 4097 bytes", U32(1) + entry("n", QByteArray(4097, 'l')), " (name longer than 4096 bytes)", 1},
        {"240 KB of names each time", bigReply, " (the listing is larger than 32 MiB)", 140},
    };
    for (const auto &c : cases) {
        Connect();
        int replies = 0;
        m_server->Override = [&](std::uint8_t type, std::uint32_t id) -> QByteArray {
            if (type != 12)
                return {};
            ++replies;
            return FakeSftpServer::Packet(104, U32(id) + c.entries);
        };
        TSFTPFileList list;
        QElapsedTimer timer;
        timer.start();
        const QString error = ErrorOf([&] { m_sftp->ListDir(QStringLiteral("/home/test"), list); });
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^Unable to read directory: d\\d+ \\(")).match(error).hasMatch())
            << c.name << ": " << error.toStdString();
        EXPECT_TRUE(error.endsWith(QString::fromLatin1(c.ending))) << c.name << ": " << error.toStdString();
        EXPECT_LE(replies, c.mostReplies) << c.name;
        EXPECT_LE(list.Count(), 100001) << c.name;
        EXPECT_LT(timer.elapsed(), 20000 * SanitizerSlowdown) << c.name;
        m_server->Override = nullptr;
    }
}

TEST_F(SftpWireTest, NamesOf4096BytesAreListedAndHandlesLongerThan256BytesRefused)
{
    Connect();
    const QByteArray name(4096, 'n');
    const QByteArray longName(4096, 'l');
    bool sent = false;
    QByteArray handle;
    m_server->Override = [&](std::uint8_t type, std::uint32_t id) -> QByteArray {
        if (type == 3)
            return FakeSftpServer::Packet(102, U32(id) + FakeSftpServer::String(handle));
        if (type != 12)
            return {};
        if (std::exchange(sent, true))
            return FakeSftpServer::Status(id, 1, "eof");
        return FakeSftpServer::Packet(104, U32(id) + U32(1) + FakeSftpServer::String(name)
                                               + FakeSftpServer::String(longName) + U32(0));
    };
    TSFTPFileList list;
    m_sftp->ListDir(QStringLiteral("/home/test"), list);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Items(0).FileName.toLatin1(), name);

    handle = QByteArray(256, 'h');
    EXPECT_EQ(m_sftp->OpenFile(QStringLiteral("/x"), 1), handle);
    handle = QByteArray(257, 'h');
    EXPECT_EQ(ErrorOf([this] { m_sftp->OpenFile(QStringLiteral("/x"), 1); }),
              QStringLiteral("Unable to open file: /x (handle longer than 256 bytes)"));
}

TEST(SftpTimes, UnixSecondsBecomeWindowsFileTimesAndPreservingTimesRefusesMissingFiles)
{
    EXPECT_EQ(TSimpleSFTP::UnixToFileTime(0), 116444736000000000ull);
    EXPECT_EQ(TSimpleSFTP::UnixToFileTime(1), 116444736010000000ull);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("t"));
    WriteFileBytes(file, "x");
    TSimpleSFTP::SetLocalFileTimes(file, 1600000000, 0, 1500000000);
    EXPECT_EQ(QFileInfo(file).lastModified().toSecsSinceEpoch(), 1500000000);
    TSimpleSFTP::SetLocalFileTimes(file, 0, 0, 0);
    EXPECT_EQ(QFileInfo(file).lastModified().toSecsSinceEpoch(), 1500000000) << "zero leaves a time alone";
    EXPECT_EQ(ErrorOf([&dir] { TSimpleSFTP::SetLocalFileTimes(dir.filePath(QStringLiteral("none")), 1, 0, 1); }),
              QStringLiteral("Unable to set file times: ") + dir.filePath(QStringLiteral("none")));
}
