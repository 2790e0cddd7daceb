// Downloads one file from the local OpenSSH server through a delay proxy, at round trips
// of about 0, 2, 20 and 100 ms, with TSimpleSFTP::GetFile and with OpenSSH's own sftp
// client, alternating, three runs each. Every copy is checked byte for byte against the
// served file. Prints the median throughput of each and their ratio (ours ÷ OpenSSH) per
// delay, twice:
//
// - transfer: GetFile on a connected session (open, size, reads, close) against the time
//   of an sftp batch run that gets the file minus the time of one that only says `pwd`,
//   which leaves sftp's own stat, open, reads and close of the file: the goal is judged on
//   this like-for-like ratio;
// - whole run: our Connect plus GetFile against the whole sftp run that gets the file, the
//   connection counted on both sides.
//
// Reads the server from TOVEL_SFTP_HOST, _PORT, _USER, _PASSWORD and _ROOT (scripts/bench).

#include "delayproxy.h"
#include "platform/sshchannel.h"
#include "platform/texception.h"
#include "updater/sftp/simplesftp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

QString Env(const char *name)
{
    return qEnvironmentVariable(name);
}

struct TDistance
{
    int roundTripMs;
    qint64 fileSize;
};

// Sizes keep each delay's runs to a few seconds while the transfer still outweighs the
// round trips of opening the file.
constexpr TDistance Distances[] = {
    {0, 64ll << 20},
    {2, 64ll << 20},
    {20, 16ll << 20},
    {100, 4ll << 20},
};
constexpr int Runs = 3;

bool MakeSource(const QString &path, qint64 size)
{
    if (QFileInfo(path).size() == size)
        return true;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1024 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(2026);
    for (qint64 written = 0; written < size; written += block.size()) {
        generator.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        if (file.write(block) != block.size())
            return false;
    }
    return file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
}

bool SameBytes(const QString &a, const QString &b)
{
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) || first.size() != second.size())
        return false;
    while (!first.atEnd()) {
        if (first.read(1 << 20) != second.read(1 << 20))
            return false;
    }
    return true;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MiBPerSecond(qint64 bytes, qint64 ns)
{
    return ns > 0 ? bytes / (1024.0 * 1024.0) / (ns / 1e9) : 0.0;
}

struct TOurRun
{
    qint64 connectNs = 0;
    qint64 downloadNs = 0;
};

TOurRun RunOurs(int port, const QString &name, const QString &target, const QString &knownHosts)
{
    TSimpleSFTP sftp(std::make_unique<TSshChannel>(knownHosts));
    QElapsedTimer timer;
    timer.start();
    sftp.Connect(Env("TOVEL_SFTP_HOST"), QString::number(port), Env("TOVEL_SFTP_USER"), Env("TOVEL_SFTP_PASSWORD"));
    TOurRun run;
    run.connectNs = timer.nsecsElapsed();
    timer.restart();
    sftp.GetFile(Env("TOVEL_SFTP_ROOT"), name, target, false, true, false, 0);
    run.downloadNs = timer.nsecsElapsed();
    return run;
}

// Runs sftp with `batch` as its commands and returns the nanoseconds the whole run took.
// sftp -b turns BatchMode on, which rules out password logins; ssh keeps the first value
// it is given, so BatchMode=no goes in front of -b.
qint64 RunOpenSsh(int port, const QByteArray &batch)
{
    QProcess openssh;
    // The password goes through the environment: on the command line ps would show it.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SSHPASS"), Env("TOVEL_SFTP_PASSWORD"));
    openssh.setProcessEnvironment(environment);
    openssh.setProgram(QStringLiteral("sshpass"));
    openssh.setArguments({QStringLiteral("-e"), QStringLiteral("sftp"), QStringLiteral("-q"), QStringLiteral("-o"),
                          QStringLiteral("BatchMode=no"), QStringLiteral("-b"), QStringLiteral("-"),
                          QStringLiteral("-o"), QStringLiteral("StrictHostKeyChecking=no"), QStringLiteral("-o"),
                          QStringLiteral("UserKnownHostsFile=/dev/null"), QStringLiteral("-P"), QString::number(port),
                          QStringLiteral("%1@%2").arg(Env("TOVEL_SFTP_USER"), Env("TOVEL_SFTP_HOST"))});
    QElapsedTimer timer;
    timer.start();
    openssh.start();
    openssh.write(batch);
    openssh.closeWriteChannel();
    openssh.waitForFinished(600000);
    const qint64 ns = timer.nsecsElapsed();
    if (openssh.exitStatus() != QProcess::NormalExit || openssh.exitCode() != 0)
        throw TException(QStringLiteral("OpenSSH sftp failed: ") + QString::fromLocal8Bit(openssh.readAllStandardError()));
    return ns;
}

struct TPeerRun
{
    qint64 wholeNs = 0;
    qint64 transferNs = 0;
};

TPeerRun RunOpenSshGet(int port, const QString &source, const QString &target)
{
    TPeerRun run;
    run.wholeNs = RunOpenSsh(port, QStringLiteral("get \"%1\" \"%2\"\n").arg(source, target).toLocal8Bit());
    run.transferNs = run.wholeNs - RunOpenSsh(port, "pwd\n");
    if (run.transferNs <= 0)
        throw TException(QStringLiteral("OpenSSH's transfer took no measurable time"));
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (Env("TOVEL_SFTP_PORT").isEmpty()) {
        std::printf("sftp_bench: no SSH server (run through scripts/bench)\n");
        return 0;
    }
    QTemporaryDir local;
    const QString ours = local.filePath(QStringLiteral("ours.bin"));
    const QString peer = local.filePath(QStringLiteral("openssh.bin"));
    const QString knownHosts = local.filePath(QStringLiteral("known_hosts"));
    bool allBetter = true;
    try {
        for (const TDistance &distance : Distances) {
            const QString name = QStringLiteral("bench-%1MiB.bin").arg(distance.fileSize >> 20);
            const QString source = Env("TOVEL_SFTP_ROOT") + QLatin1Char('/') + name;
            if (!MakeSource(source, distance.fileSize))
                throw TException(QStringLiteral("cannot write ") + source);
            TDelayProxy proxy(Env("TOVEL_SFTP_PORT").toInt(), std::chrono::microseconds(distance.roundTripMs * 500));
            std::vector<double> oursRates, oursWhole, peerRates, peerWhole;
            for (int run = 0; run < Runs; ++run) {
                QFile::remove(ours);
                const TOurRun timing = RunOurs(proxy.Port(), name, ours, knownHosts);
                if (!SameBytes(source, ours))
                    throw TException(QStringLiteral("GetFile's copy differs from ") + source);
                oursRates.push_back(MiBPerSecond(distance.fileSize, timing.downloadNs));
                oursWhole.push_back(MiBPerSecond(distance.fileSize, timing.connectNs + timing.downloadNs));

                QFile::remove(peer);
                const TPeerRun peerTiming = RunOpenSshGet(proxy.Port(), source, peer);
                if (!SameBytes(source, peer))
                    throw TException(QStringLiteral("OpenSSH's copy differs from ") + source);
                peerRates.push_back(MiBPerSecond(distance.fileSize, peerTiming.transferNs));
                peerWhole.push_back(MiBPerSecond(distance.fileSize, peerTiming.wholeNs));
            }
            const double ratio = Median(oursRates) / Median(peerRates);
            allBetter = allBetter && ratio >= (distance.roundTripMs >= 20 ? 1.5 : 1.0);
            std::printf("sftp_bench: %3d ms round trip, %2lld MiB: transfer GetFile %7.1f MiB/s, "
                        "OpenSSH sftp %7.1f MiB/s, ratio %.2f; whole run with connect GetFile %7.1f MiB/s, "
                        "OpenSSH sftp %7.1f MiB/s, ratio %.2f\n",
                        distance.roundTripMs, distance.fileSize >> 20, Median(oursRates), Median(peerRates), ratio,
                        Median(oursWhole), Median(peerWhole), Median(oursWhole) / Median(peerWhole));
            std::fflush(stdout);
        }
    } catch (const TException &error) {
        std::printf("sftp_bench: %s\n", error.what());
        return 1;
    }
    std::printf("sftp_bench: goal on the transfer ratio (>= 1.0 everywhere, >= 1.5 at 20 and 100 ms) %s\n",
                allBetter ? "met" : "NOT met");
    return 0;
}
