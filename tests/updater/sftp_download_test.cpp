// GetFile with many reads in flight against the in-process fake server: what a server
// sees, what a caller sees, and how a download ends when something goes wrong.

#include "platform/texception.h"
#include "sftpwirefixture.h"
#include "testsupport.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>

#include <sys/resource.h>

#include <csignal>
#include <cstdio>

namespace {

const QString Folder = QStringLiteral("/home/test");

// Every progress event as "done/total", and whether they ever went backwards or past
// the total.
struct ProgressLog
{
    QStringList events;
    std::uint64_t last = 0;
    bool wrong = false;

    TSFTPProgress Handler(int stopAt = 0)
    {
        return [this, stopAt](qint64, std::uint64_t done, std::uint64_t total) {
            events << QStringLiteral("%1/%2").arg(done).arg(total);
            wrong = wrong || done <= last || done > total;
            last = done;
            return stopAt == 0 || events.size() < stopAt;
        };
    }
};

} // namespace

TEST_F(SftpWireTest, ReadsGoOutAWindowAtATimeWithIdsCountingUpAndAnAbortSendsNoMore)
{
    const QByteArray content = RandomBytes(5 * 1024 * 1024 + 100, 21);
    m_server->AddFile(Folder + QStringLiteral("/whole"), content);
    Connect();
    const std::uint32_t firstId = static_cast<std::uint32_t>(m_sftp->RequestId);
    ProgressLog progress;
    EXPECT_EQ(m_sftp->GetFile(Folder, QStringLiteral("whole"), Local("whole"), false, true, false, 0, progress.Handler()),
              static_cast<std::uint64_t>(content.size()));
    EXPECT_EQ(ReadFileBytes(Local("whole")), content);

    ASSERT_FALSE(m_server->ReadsPerWrite.isEmpty());
    EXPECT_EQ(m_server->ReadsPerWrite.front(), TSimpleSFTP::MaxReadsInFlight) << "the first write fills the window";
    EXPECT_EQ(Reads(), 161) << "160 full reads and one for the last 100 bytes";
    EXPECT_EQ(m_server->ReadLengths.back(), 100u) << "the last read asks only for what remains";
    QList<std::uint32_t> expectedIds;
    for (std::uint32_t id = firstId; id < firstId + 163; ++id)
        expectedIds << id; // OPEN, FSTAT, the reads; CLOSE follows
    EXPECT_EQ(m_server->RequestIds.mid(m_server->RequestIds.size() - 164, 163), expectedIds);
    EXPECT_EQ(progress.events.size(), 160) << "one event per block but the short last one";
    EXPECT_FALSE(progress.wrong);

    // An abort sends no more reads and leaves the session usable.
    const QByteArray big = RandomBytes(5 * 1024 * 1024, 4);
    m_server->AddFile(Folder + QStringLiteral("/big"), big);
    m_server->RequestTypes.clear();
    ProgressLog aborted;
    EXPECT_EQ(ErrorOf([&] {
                  m_sftp->GetFile(Folder, QStringLiteral("big"), Local("big"), false, true, false, 0, aborted.Handler(2));
              }),
              QStringLiteral("File transfer aborted: /home/test/big"));
    EXPECT_EQ(aborted.events.join(QLatin1Char(' ')), QStringLiteral("32768/5242880 65536/5242880"));
    EXPECT_EQ(Reads(), TSimpleSFTP::MaxReadsInFlight) << "only the first window was asked for";
    EXPECT_EQ(m_server->RequestTypes.count(Sftp::CLOSE), 1) << "the server's handle is closed after the abort";
    EXPECT_EQ(ReadFileBytes(Local("big")), big.left(65536)) << "the local file keeps what was reported";
    EXPECT_EQ(m_sftp->FileSize(Folder + QStringLiteral("/big")), 5242880u)
        << "the replies still on their way were drained, not taken for this answer";
}

TEST_F(SftpWireTest, ShortRepliesSmallPiecesAndRepliesOutOfOrderGiveTheSameFile)
{
    const struct {
        qsizetype size;
        std::uint32_t dataCap;
        qsizetype pieceCap;
        bool reverse;
        // "" when a short last block arrives on its own and reports nothing; one that
        // arrives before the blocks in front of it is counted by the event closing the gap
        const char *lastEvent;
    } cases[] = {
        {65536, 0, 0, false, "65536/65536"},      {65536, 0, 0, true, "65536/65536"},
        {100000, 0, 0, true, "100000/100000"},    {100000, 5, 0, false, "100000/100000"},
        {100000, 1000, 7, false, "100000/100000"}, {100000, 32000, 0, true, "100000/100000"},
        {3 * 1024 * 1024 + 1, 0, 1, false, ""},   {3 * 1024 * 1024 + 1, 0, 1, true, "3145729/3145729"},
        {3 * 1024 * 1024, 64000, 33, true, "3145728/3145728"}, {1, 0, 0, false, ""},
    };
    Connect();
    int index = 0;
    for (const auto &c : cases) {
        const QString name = QStringLiteral("f%1").arg(index);
        const QByteArray content = RandomBytes(c.size, static_cast<quint32>(++index));
        m_server->AddFile(Folder + QLatin1Char('/') + name, content);
        m_server->DataCap = c.dataCap;
        m_server->PieceCap = c.pieceCap;
        m_server->ReverseReadReplies = c.reverse;
        ProgressLog progress;
        const QString target = m_dir.filePath(name);
        const std::uint64_t done = m_sftp->GetFile(Folder, name, target, false, true, false, 0, progress.Handler());
        const std::string label = "case " + std::to_string(index);
        EXPECT_EQ(done, static_cast<std::uint64_t>(c.size)) << label;
        EXPECT_EQ(ReadFileBytes(target), content) << label;
        EXPECT_FALSE(progress.wrong) << label << ": " << progress.events.join(QLatin1Char(' ')).toStdString();
        const QString lastEvent = progress.events.isEmpty() ? QString() : progress.events.back();
        if (QByteArray(c.lastEvent).isEmpty())
            EXPECT_FALSE(lastEvent.endsWith(QStringLiteral("%1/%1").arg(c.size))) << label;
        else
            EXPECT_EQ(lastEvent, QString::fromLatin1(c.lastEvent)) << label;
    }
}

// Blocks used to be written at their offsets as they came, so replies out of order left
// a file of nearly full size with holes of zeros, which a killed process would leave
// looking complete. Created or overwritten (old bytes past what was received are kept),
// at every moment the file is the new part received without a gap.
TEST_F(SftpWireTest, TheFileOnDiskIsAlwaysThePartReceivedWithoutAGapAndResumingWritesAfterIt)
{
    const QByteArray content = RandomBytes(3 * 1024 * 1024, 11);
    m_server->AddFile(Folder + QStringLiteral("/f"), content);
    m_server->ReverseReadReplies = true;
    m_server->DataCap = 32000;
    Connect();
    for (const QByteArray &old : {QByteArray(), QByteArray(4 * 1024 * 1024, 'o')}) {
        const bool create = old.isEmpty();
        const QString target = Local(create ? "created" : "overwritten");
        if (!create)
            WriteFileBytes(target, old);
        const auto expected = [&](qsizetype done) { return content.left(done) + old.mid(done); };
        QStringList wrong;
        const auto check = [&](qint64, std::uint64_t done, std::uint64_t) {
            if (ReadFileBytes(target) != expected(static_cast<qsizetype>(done)))
                wrong << QString::number(done);
            return done < 1024 * 1024;
        };
        EXPECT_EQ(ErrorOf([&] { m_sftp->GetFile(Folder, QStringLiteral("f"), target, false, create, false, 0, check); }),
                  QStringLiteral("File transfer aborted: /home/test/f"));
        EXPECT_EQ(wrong.join(QLatin1Char(' ')), QString()) << "events whose file was not new prefix + old rest";
        const QByteArray onDisk = ReadFileBytes(target);
        qsizetype same = 0;
        while (same < content.size() && same < onDisk.size() && onDisk[same] == content[same])
            ++same;
        EXPECT_GE(same, 1024 * 1024) << create;
        EXPECT_EQ(onDisk, expected(same)) << create;
    }

    // Resuming and appending write after what is there.
    const QByteArray resumed = RandomBytes(300000, 5);
    m_server->AddFile(Folder + QStringLiteral("/r"), resumed);
    m_server->DataCap = 0;
    WriteFileBytes(Local("r"), resumed.left(70000));
    EXPECT_EQ(m_sftp->GetFile(Folder, QStringLiteral("r"), Local("r"), false, false, true, 70000), 230000u);
    EXPECT_EQ(ReadFileBytes(Local("r")), resumed);
}

// Blocks behind a gap wait in memory; a server that keeps the first block short while
// answering all others in full must not make the client ask ever further ahead.
TEST_F(SftpWireTest, ReadsAheadStayWithinTheWindowWhileTheFirstBlockTrickles)
{
    const QByteArray content = RandomBytes(8 * 1024 * 1024, 12);
    m_server->AddFile(Folder + QStringLiteral("/f"), content);
    m_server->DataCapAt = [](std::uint64_t offset) { return offset < 32768 ? 1000u : 32768u; };
    Connect();
    EXPECT_EQ(m_sftp->GetFile(Folder, QStringLiteral("f"), Local("f"), false, true, false, 0), 8u * 1024 * 1024);
    EXPECT_EQ(ReadFileBytes(Local("f")), content);
    const qsizetype firstBlockDone = m_server->ReadOffsets.indexOf(32000);
    ASSERT_GE(firstBlockDone, 0);
    std::uint64_t furthest = 0;
    for (qsizetype i = 0; i < firstBlockDone; ++i)
        furthest = qMax(furthest, m_server->ReadOffsets[i]);
    EXPECT_LT(furthest, (TSimpleSFTP::MaxReadsInFlight + 1) * 32768u) << "no read beyond a window from the first missing byte";
}

// A file that grew after its size was read: the download used to take whatever the
// server gave for a full block and report "131072 of 100000".
TEST_F(SftpWireTest, AFileGrowingYieldsOnlyTheSizeReadAtTheStartAndAFileShorterOnDiskThanReceivedFails)
{
    const QByteArray content = RandomBytes(131072, 6);
    m_server->AddFile(Folder + QStringLiteral("/grows"), content);
    m_server->Tree[Folder + QStringLiteral("/grows")].reportedSize = 100000;
    Connect();
    ProgressLog progress;
    EXPECT_EQ(m_sftp->GetFile(Folder, QStringLiteral("grows"), Local("grows"), false, true, false, 0, progress.Handler()),
              100000u);
    EXPECT_EQ(ReadFileBytes(Local("grows")), content.left(100000));
    EXPECT_FALSE(progress.wrong) << progress.events.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(progress.events.join(QLatin1Char(' ')), QStringLiteral("32768/100000 65536/100000 98304/100000"));

    // Then every write succeeds, yet the file ends up shorter than the bytes received (here
    // cut by someone else while the download ran): that is a failure too, and the file is
    // left as it is, a prefix, never grown back to look complete.
    const QByteArray cut = RandomBytes(65536, 13);
    m_server->AddFile(Folder + QStringLiteral("/f"), cut);
    const QString target = Local("f");
    const auto cutAtTheEnd = [&](qint64, std::uint64_t done, std::uint64_t total) {
        if (done == total)
            QFile::resize(target, 40000);
        return true;
    };
    const QString error
        = ErrorOf([&] { m_sftp->GetFile(Folder, QStringLiteral("f"), target, false, true, false, 0, cutAtTheEnd); });
    EXPECT_EQ(error, QStringLiteral("Unable to write file: ") + target);
    EXPECT_EQ(ReadFileBytes(target), cut.left(40000));
    EXPECT_EQ(m_sftp->FileSize(Folder + QStringLiteral("/f")), 65536u) << "the session goes on";
}

TEST_F(SftpWireTest, AFailedReadEndsTheDownloadWithTheServersTextAndKeepsNoBlockAfterAGap)
{
    const QByteArray content = RandomBytes(200000, 8);
    m_server->AddFile(Folder + QStringLiteral("/f"), content);
    const struct {
        bool reverse;
        qsizetype kept;
    } cases[] = {
        {false, 65536}, // the two blocks in front of the failed one
        {true, 0},      // blocks behind it arrived first and were written ahead: all dropped
    };
    for (const auto &c : cases) {
        Connect();
        m_server->ReverseReadReplies = c.reverse;
        int reads = 0;
        m_server->Override = [&reads](std::uint8_t type, std::uint32_t id) -> QByteArray {
            if (type == 5 && ++reads == 3)
                return FakeSftpServer::Status(id, 4, "Failure");
            return {};
        };
        const QString error = ErrorOf([this] { m_sftp->GetFile(Folder, QStringLiteral("f"), Local("f"), false, true, false, 0); });
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^Unable to read file: f\\d+\r\nFailure\r\n$")).match(error).hasMatch())
            << error.toStdString();
        EXPECT_EQ(ReadFileBytes(Local("f")), content.left(c.kept)) << "reversed " << c.reverse;
        EXPECT_EQ(Reads(), 7) << "no read after the failure";
        m_server->Override = nullptr;
        EXPECT_EQ(m_sftp->FileSize(Folder + QStringLiteral("/f")), 200000u) << "the session goes on";
        m_server->RequestTypes.clear();
    }
}

TEST_F(SftpWireTest, AReplyStallingHalfwayClosesTheSession)
{
    m_server->AddFile(Folder + QStringLiteral("/f"), RandomBytes(200000, 9));
    const auto cut = [](std::uint32_t id) { return U32(100) + QByteArray(1, 104) + U32(id) + "abc"; };
    const struct {
        const char *name;
        std::function<void(TSimpleSFTP &)> call;
        std::uint8_t stalls; // the request type whose reply stops halfway
        int at;              // the how-manieth of them
    } cases[] = {
        {"a single request", [](TSimpleSFTP &sftp) { sftp.RealPath(QStringLiteral(".")); }, 16, 1},
        {"a download", [this](TSimpleSFTP &sftp) { sftp.GetFile(Folder, QStringLiteral("f"), Local("f"), false, true, false, 0); }, 5, 2},
    };
    for (const auto &c : cases) {
        Connect();
        m_server->StallAfterOverride = true;
        int seen = 0;
        m_server->Override = [&](std::uint8_t type, std::uint32_t id) -> QByteArray {
            return type == c.stalls && ++seen == c.at ? cut(id) : QByteArray();
        };
        EXPECT_EQ(ErrorOf([&] { c.call(*m_sftp); }), QStringLiteral("Timeout")) << c.name;
        EXPECT_FALSE(m_server->IsOpen()) << c.name;
        EXPECT_EQ(ErrorOf([this] { m_sftp->FileSize(Folder + QStringLiteral("/f")); }), QStringLiteral("Not connected"))
            << c.name << ": the old reply's rest is never read as a new header";
        m_server->Override = nullptr;
        m_server->StallAfterOverride = false;
    }
    EXPECT_EQ(QFileInfo(Local("f")).size(), 32768) << "the download keeps the block before the stall";
}

// A write that fails: the last buffered bytes used to be flushed when the file was
// closed, where the error was lost, and GetFile reported 40,000 bytes with 36,864 on disk.
TEST_F(SftpWireTest, ADownloadThatCannotBeWrittenFails)
{
    const QByteArray content = RandomBytes(40000, 10);
    m_server->AddFile(Folder + QStringLiteral("/f"), content);
    Connect();
    const QString target = Local("f");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto download = [&] {
        // As `ulimit -f 36`: writes past 36 KiB fail with EFBIG instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{36 * 1024, 36 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const QString error = ErrorOf([&] { m_sftp->GetFile(Folder, QStringLiteral("f"), target, false, true, false, 0); });
        const QByteArray kept = ReadFileBytes(target);
        std::fprintf(stderr, "error: %s, kept %lld\n", qPrintable(error), static_cast<long long>(kept.size()));
        const bool keptAPrefix = kept.size() <= 36 * 1024 && kept == content.left(kept.size());
        std::_Exit(error == QStringLiteral("Unable to write file: ") + target && keptAPrefix ? 0 : 1);
    };
    EXPECT_EXIT(download(), ::testing::ExitedWithCode(0), "error: Unable to write file: ");
}
