// The update check of a program folder that is already up to date: 10,000 unchanged
// files in 200 folders under one base directory, which a run must list and compare and
// then leave alone.
//
// FTP: our own instance of the test FTP server (tests/updater/ftpserver.py) serves the
// tree from TOVEL_FTP_ROOT and writes every command it receives to a log. Skyrun
// (`Skyrun run alone -sc`, the built program, as its own process) checks the program
// folder, alternating with lftp's `mirror --dry-run` of the same tree into the same
// folder, each run as a whole process, five times each with no delay and three times each
// as the user "slow", whose replies wait 20 ms. Prints the medians, their ratio (ours ÷
// lftp, goal <= 1.0) and, from the server's log, the commands per directory of our run
// (goal: at most 4 commands and one listing per directory, none for an unchanged file).
//
// SFTP: the same check against the loopback OpenSSH server (TOVEL_SFTP_*), three times
// each beside lftp's mirror over sftp:// (which runs ssh) on the same tree.
//
// lftp keeps its defaults (one connection, MLSD where offered) but for passive mode, as our
// run is set up, no TLS, which the test server does not offer, and --no-perms.
//
// `update_bench quick` runs the checks without delay (FTP and SFTP), `update_bench delayed`
// the FTP check at 20 ms per reply alone: that one mostly waits for the server, so
// scripts/bench runs it beside the benchmarks that compute. Without an argument, all.
//
// Every run is checked: Skyrun ends with 0, asks for no file and leaves skyrunlog.ini as
// it was; lftp ends with 0 and has nothing to get. The tree is removed again at the end.

#include "updater/skyrunlib.h"
#include "updater/skyrunlog.h"

#include "platform/texception.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Folders = 200;
constexpr int FilesPerFolder = 50;
// The base directory is walked too: the 200 folders and the base.
constexpr int Directories = Folders + 1;
constexpr int RunsNoDelay = 3;
constexpr int RunsDelayed = 2;
constexpr int RunsSftp = 3;
constexpr double ReplyDelaySeconds = 0.02;
// Every server file has this modification time; the local copies too, as a mirror run
// leaves them, so that neither client finds anything to fetch.
constexpr qint64 FileTime = 1767323045; // 2026-01-02 03:04:05 UTC
constexpr int ProcessTimeoutMs = 120000;

QString Env(const char *name)
{
    return qEnvironmentVariable(name);
}

QString FolderName(int folder)
{
    return QStringLiteral("d%1").arg(folder, 3, 10, QLatin1Char('0'));
}

QString FileName(int file)
{
    return QStringLiteral("f%1.dat").arg(file, 2, 10, QLatin1Char('0'));
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void WriteFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        throw TException(QStringLiteral("cannot write ") + path);
    file.close();
    const struct timespec times[2] = {{FileTime, 0}, {FileTime, 0}};
    if (::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) != 0)
        throw TException(QStringLiteral("cannot set the time of ") + path);
}

// The 200 folders of 50 small files under `base`, each file's bytes telling its place;
// whatever an interrupted run left there goes first.
void MakeTree(const QString &base)
{
    QDir(base).removeRecursively();
    for (int folder = 0; folder < Folders; ++folder) {
        const QString dir = base + QLatin1Char('/') + FolderName(folder);
        if (!QDir().mkpath(dir))
            throw TException(QStringLiteral("cannot create ") + dir);
        for (int file = 0; file < FilesPerFolder; ++file) {
            const QByteArray line = (FolderName(folder) + QLatin1Char('/') + FileName(file) + QLatin1Char('\n')).toLatin1();
            WriteFile(dir + QLatin1Char('/') + FileName(file), line.repeated(8));
        }
    }
}

// A program folder in the state a run that fetched everything leaves: the files, and a
// record per file holding the stamp the server lists for it (`stamp`).
void MakeProgramFolder(const QString &folder, const TServerInfo &info, const QString &stamp)
{
    MakeTree(folder);
    WriteServerInfo(info, folder);
    QByteArray cfg = "; the folders under the base\n";
    for (int i = 0; i < Folders; ++i)
        cfg += "+" + FolderName(i).toLatin1() + "\n";
    QFile cfgFile(folder + QLatin1Char('/') + QString::fromLatin1(SkyrunCfgName));
    if (!cfgFile.open(QIODevice::WriteOnly) || cfgFile.write(cfg) != cfg.size())
        throw TException(QStringLiteral("cannot write ") + cfgFile.fileName());
    cfgFile.close();
    QList<TIniEntry> records;
    for (int folderIndex = 0; folderIndex < Folders; ++folderIndex) {
        for (int file = 0; file < FilesPerFolder; ++file)
            records.append({RecordKey(FolderName(folderIndex), FileName(file)), stamp});
    }
    TSkyrunLog(folder).WriteStamps(records);
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Starts `process` and returns the seconds until it ended; throws unless it ended with 0.
double Timed(QProcess &process, const QString &what)
{
    QElapsedTimer timer;
    timer.start();
    process.start();
    if (!process.waitForFinished(ProcessTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        throw TException(what + QStringLiteral(" did not finish"));
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw TException(QStringLiteral("%1 failed (exit code %2): %3")
                             .arg(what)
                             .arg(process.exitCode())
                             .arg(QString::fromLocal8Bit(process.readAllStandardError()).trimmed()));
    return seconds;
}

// The built Skyrun, or the program UPDATE_BENCH_SKYRUN names (to time a changed build).
QString SkyrunProgram()
{
    const QString chosen = Env("UPDATE_BENCH_SKYRUN");
    return chosen.isEmpty() ? QStringLiteral(TOVEL_SKYRUN) : chosen;
}

// One silent check of `programFolder`; it must fetch nothing, so the records stay as they
// were byte for byte and no ".download" file is left anywhere.
double RunSkyrun(const QString &programFolder)
{
    const QString logPath = programFolder + QLatin1Char('/') + QString::fromLatin1(SkyrunLogName);
    const QByteArray before = ReadAll(logPath);
    QProcess skyrun;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TOVEL_PROGRAM_DIR"), programFolder);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    skyrun.setProcessEnvironment(environment);
    skyrun.setProgram(SkyrunProgram());
    skyrun.setArguments({QStringLiteral("run"), QStringLiteral("alone"), QStringLiteral("-sc")});
    const double seconds = Timed(skyrun, QStringLiteral("Skyrun"));
    if (ReadAll(logPath) != before)
        throw TException(QStringLiteral("Skyrun changed skyrunlog.ini: it found something to fetch"));
    return seconds;
}

// lftp's mirror of `remote` into `local` with --dry-run: it lists every directory and
// compares, and prints what it would do, which must be nothing. --no-perms: like ours, it
// leaves the modes of local files alone (the test server lists modes lftp would copy).
double RunLftp(const QString &site, const QString &user, const QString &password, const QString &settings,
               const QString &remote, const QString &local)
{
    QProcess lftp;
    // The password goes through the environment: on the command line ps would show it.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LFTP_PASSWORD"), password);
    lftp.setProcessEnvironment(environment);
    lftp.setProgram(QStringLiteral("lftp"));
    lftp.setArguments({QStringLiteral("--norc"), QStringLiteral("-e"),
                       QStringLiteral("set cmd:fail-exit yes; set net:max-retries 1; %1; mirror --dry-run --no-perms "
                                      "\"%2\" \"%3\"; quit")
                           .arg(settings, remote, local),
                       QStringLiteral("--env-password"), QStringLiteral("-u"), user, site});
    const double seconds = Timed(lftp, QStringLiteral("lftp"));
    const QString output = QString::fromLocal8Bit(lftp.readAllStandardOutput()).trimmed();
    if (!output.isEmpty())
        throw TException(QStringLiteral("lftp found something to do: ") + output.left(300));
    return seconds;
}

// What the server's command log holds of one run.
struct TCommandCount
{
    int total = 0;
    int session = 0;  // login, features, logout
    int listings = 0; // MLSD, LIST, NLST
    int perFile = 0;  // commands that name a file: SIZE, MDTM, RETR, MLST
};

TCommandCount CountCommands(const QByteArray &log)
{
    static const QByteArrayList sessionCommands = {"USER", "PASS", "ACCT", "AUTH", "PBSZ", "PROT", "FEAT", "OPTS",
                                                   "SYST", "CLNT", "HOST", "LANG", "PWD",  "QUIT"};
    static const QByteArrayList listingCommands = {"MLSD", "LIST", "NLST"};
    static const QByteArrayList fileCommands = {"SIZE", "MDTM", "RETR", "MLST"};
    TCommandCount count;
    for (const QByteArray &line : log.split('\n')) {
        const QByteArrayList fields = line.split('\t');
        if (fields.size() < 2)
            continue;
        const QByteArray &command = fields[1];
        ++count.total;
        count.session += sessionCommands.contains(command) ? 1 : 0;
        count.listings += listingCommands.contains(command) ? 1 : 0;
        count.perFile += fileCommands.contains(command) ? 1 : 0;
    }
    return count;
}

QString Describe(const TCommandCount &count)
{
    return QStringLiteral("%1 commands, %2 per directory besides %3 for the session, %4 listings per directory, "
                          "%5 naming a file")
        .arg(count.total)
        .arg(double(count.total - count.session) / Directories, 0, 'f', 2)
        .arg(count.session)
        .arg(double(count.listings) / Directories, 0, 'f', 2)
        .arg(count.perFile);
}

// Our own instance of the test FTP server over the served folder, logging every command.
class TFtpServer
{
public:
    TFtpServer(const QString &root, const QString &work)
        : m_log(work + QStringLiteral("/commands.log"))
    {
        const QString portFile = work + QStringLiteral("/port");
        m_server.setProgram(QStringLiteral("/usr/bin/python3"));
        m_server.setArguments({QStringLiteral(TOVEL_SOURCE_DIR "/tests/updater/ftpserver.py"), QStringLiteral("--root"),
                               root, QStringLiteral("--port-file"), portFile, QStringLiteral("--delay"),
                               QString::number(ReplyDelaySeconds), QStringLiteral("--command-log"), m_log});
        // The server lists times in its local time: in UTC here, which lftp assumes.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
        m_server.setProcessEnvironment(environment);
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.setStandardOutputFile(work + QStringLiteral("/server.log"));
        m_server.start();
        for (int tenth = 0; tenth < 100 && !QFile::exists(portFile); ++tenth) {
            if (m_server.state() == QProcess::NotRunning)
                break;
            QThread::msleep(100);
        }
        m_port = ReadAll(portFile).trimmed().toInt();
        if (m_port <= 0)
            throw TException(QStringLiteral("the benchmark's FTP server did not start"));
    }

    ~TFtpServer()
    {
        m_server.terminate();
        if (!m_server.waitForFinished(5000)) {
            m_server.kill();
            m_server.waitForFinished();
        }
    }

    int Port() const { return m_port; }

    /// The commands logged since the last call.
    QByteArray NewCommands()
    {
        const QByteArray log = ReadAll(m_log);
        const QByteArray fresh = log.mid(m_read);
        m_read = log.size();
        return fresh;
    }

private:
    QString m_log;
    QProcess m_server;
    int m_port = 0;
    qsizetype m_read = 0;
};

struct TComparison
{
    double ours = 0;
    double peer = 0;
};

// Alternates our check and lftp's, `runs` times each, and takes the medians.
template <typename Ours, typename Peer>
TComparison Compare(int runs, const Ours &ours, const Peer &peer)
{
    std::vector<double> oursSeconds, peerSeconds;
    for (int run = 0; run < runs; ++run) {
        oursSeconds.push_back(ours());
        peerSeconds.push_back(peer());
    }
    return {Median(oursSeconds), Median(peerSeconds)};
}

struct TDelay
{
    const char *user;
    int delayMs;
    int runs;
};

bool BenchFtp(const QString &work, const std::vector<TDelay> &delays)
{
    const QString password = Env("TOVEL_FTP_PASSWORD");
    const QString served = Env("TOVEL_FTP_ROOT") + QStringLiteral("/bench");
    MakeTree(served);
    TFtpServer server(Env("TOVEL_FTP_ROOT"), work);
    // The server lists times in UTC (MLSD); a run records them in its local time.
    const QString stamp = FormatStamp(QDateTime::fromSecsSinceEpoch(FileTime));
    const QString site = QStringLiteral("ftp://127.0.0.1:%1").arg(server.Port());
    // Passive, as our run is set up; no TLS, which the test server does not offer.
    const QString lftpSettings = QStringLiteral("set ftp:passive-mode on; set ftp:ssl-allow no");

    bool met = true;
    // One program folder for both: only the user changes between them.
    const QString folder = work + QStringLiteral("/program-ftp");
    TServerInfo info{QStringLiteral("127.0.0.1"), QString::number(server.Port()), true, QStringLiteral("/bench"),
                     QString(), password, QStringLiteral("FTP"), {}};
    MakeProgramFolder(folder, info, stamp);
    for (const TDelay &delay : delays) {
        const QString user = QString::fromLatin1(delay.user);
        info.ID = user;
        WriteServerInfo(info, folder);
        TCommandCount oursCount, peerCount;
        server.NewCommands();
        const TComparison timing = Compare(
            delay.runs,
            [&] {
                const double seconds = RunSkyrun(folder);
                oursCount = CountCommands(server.NewCommands());
                if (oursCount.perFile > 0)
                    throw TException(QStringLiteral("Skyrun asked the server about single files"));
                return seconds;
            },
            [&] {
                const double seconds = RunLftp(site, user, password, lftpSettings, QStringLiteral("/bench"), folder);
                peerCount = CountCommands(server.NewCommands());
                return seconds;
            });
        const double ratio = timing.ours / timing.peer;
        const bool commandsMet = oursCount.total - oursCount.session <= 4 * Directories
            && oursCount.listings <= Directories && oursCount.perFile == 0;
        met = met && ratio <= 1.0 && commandsMet;
        std::printf("update_bench: FTP, %2d ms per reply, %d files in %d folders, nothing to fetch: Skyrun %6.3f s, "
                    "lftp mirror --dry-run %6.3f s, ratio %.2f (median of %d)\n",
                    delay.delayMs, Folders * FilesPerFolder, Folders, timing.ours, timing.peer, ratio, delay.runs);
        std::printf("update_bench:   server log, Skyrun: %s\n", qPrintable(Describe(oursCount)));
        std::printf("update_bench:   server log, lftp:   %s\n", qPrintable(Describe(peerCount)));
        std::fflush(stdout);
    }
    QDir(served).removeRecursively();
    return met;
}

void BenchSftp(const QString &work)
{
    const QString remote = Env("TOVEL_SFTP_ROOT") + QStringLiteral("/bench");
    MakeTree(remote);
    // SFTP times are seconds since 1970 and are recorded in UTC.
    const QString stamp = FormatStamp(QDateTime::fromSecsSinceEpoch(FileTime, Qt::UTC));
    const QString folder = work + QStringLiteral("/program-sftp");
    MakeProgramFolder(folder,
                      {Env("TOVEL_SFTP_HOST"), Env("TOVEL_SFTP_PORT"), false, remote, Env("TOVEL_SFTP_USER"),
                       Env("TOVEL_SFTP_PASSWORD"), QStringLiteral("SFTP"), {}},
                      stamp);
    // lftp runs ssh and answers its password prompt; the host key of the throw-away
    // server is neither checked nor kept.
    const QString lftpSettings =
        QStringLiteral("set sftp:connect-program \"ssh -a -x -o StrictHostKeyChecking=no -o "
                       "UserKnownHostsFile=/dev/null -o LogLevel=ERROR\"");
    const QString site = QStringLiteral("sftp://%1:%2").arg(Env("TOVEL_SFTP_HOST"), Env("TOVEL_SFTP_PORT"));
    const TComparison timing = Compare(
        RunsSftp, [&] { return RunSkyrun(folder); },
        [&] {
            return RunLftp(site, Env("TOVEL_SFTP_USER"), Env("TOVEL_SFTP_PASSWORD"), lftpSettings, remote, folder);
        });
    std::printf("update_bench: SFTP, loopback OpenSSH, %d files in %d folders, nothing to fetch: Skyrun %6.3f s, "
                "lftp mirror --dry-run sftp:// %6.3f s, ratio %.2f (median of %d)\n",
                Folders * FilesPerFolder, Folders, timing.ours, timing.peer, timing.ours / timing.peer, RunsSftp);
    std::fflush(stdout);
    QDir(remote).removeRecursively();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString phase = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (!phase.isEmpty() && phase != QStringLiteral("quick") && phase != QStringLiteral("delayed")) {
        std::printf("update_bench: usage: update_bench [quick|delayed]\n");
        return 2;
    }
    const bool quick = phase != QStringLiteral("delayed");
    const bool delayed = phase != QStringLiteral("quick");
    std::vector<TDelay> delays;
    if (quick)
        delays.push_back({"tovel", 0, RunsNoDelay});
    if (delayed)
        delays.push_back({"slow", 20, RunsDelayed});
    QTemporaryDir work;
    if (!work.isValid()) {
        std::printf("update_bench: cannot create a temporary folder\n");
        return 1;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("lftp")).isEmpty()) {
        std::printf("update_bench: lftp is not installed, no peer (scripts/setup installs it)\n");
        return 0;
    }
    int status = 0;
    if (Env("TOVEL_FTP_ROOT").isEmpty() || Env("TOVEL_FTP_PASSWORD").isEmpty()) {
        std::printf("update_bench: no FTP server (run through scripts/bench)\n");
    } else {
        try {
            const bool met = BenchFtp(work.path(), delays);
            std::printf("update_bench: FTP goals (ratio <= 1.0 at %s; at most 4 commands and one listing per "
                        "directory, none per file) %s\n",
                        quick && delayed ? "0 and 20 ms" : quick ? "0 ms" : "20 ms", met ? "met" : "NOT met");
        } catch (const TException &error) {
            std::printf("update_bench: FTP: %s\n", qPrintable(error.Message()));
            QDir(Env("TOVEL_FTP_ROOT") + QStringLiteral("/bench")).removeRecursively();
            status = 1;
        }
    }
    std::fflush(stdout);
    if (!quick)
        return status;
    if (Env("TOVEL_SFTP_HOST").isEmpty() || Env("TOVEL_SFTP_PORT").isEmpty() || Env("TOVEL_SFTP_USER").isEmpty()
        || Env("TOVEL_SFTP_ROOT").isEmpty()) {
        std::printf("update_bench: no SSH server (run through scripts/bench)\n");
    } else {
        try {
            BenchSftp(work.path());
        } catch (const TException &error) {
            std::printf("update_bench: SFTP: %s\n", qPrintable(error.Message()));
            QDir(Env("TOVEL_SFTP_ROOT") + QStringLiteral("/bench")).removeRecursively();
            status = 1;
        }
    }
    return status;
}
