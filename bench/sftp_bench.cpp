// Downloads one 256 MiB file from the local OpenSSH server with TSimpleSFTP::GetFile and
// with OpenSSH's own sftp client, in the same run, and prints the throughput of each
// and their ratio (ours ÷ OpenSSH).
//
// Reads the server from TOVEL_SFTP_HOST, _PORT, _USER, _PASSWORD and _ROOT (scripts/bench).

#include "common/texception.h"
#include "platform/sshchannel.h"
#include "updater/sftp/simplesftp.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QString Env(const char *name)
{
    return qEnvironmentVariable(name);
}

constexpr qint64 FileSize = 256ll * 1024 * 1024;

bool MakeSource(const QString &path)
{
    if (QFileInfo(path).size() == FileSize)
        return true;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1024 * 1024, Qt::Uninitialized);
    QRandomGenerator generator(2026);
    for (qint64 written = 0; written < FileSize; written += block.size()) {
        generator.fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        file.write(block);
    }
    return true;
}

double MiBPerSecond(qint64 bytes, qint64 ms)
{
    return ms > 0 ? bytes / (1024.0 * 1024.0) / (ms / 1000.0) : 0.0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (Env("TOVEL_SFTP_PORT").isEmpty()) {
        std::printf("sftp_bench: no SSH server (run through scripts/bench)\n");
        return 0;
    }
    const QString source = Env("TOVEL_SFTP_ROOT") + QStringLiteral("/bench-256MiB.bin");
    if (!MakeSource(source)) {
        std::printf("sftp_bench: cannot write %s\n", qPrintable(source));
        return 1;
    }
    QFile::setPermissions(source, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    QTemporaryDir local;

    qint64 oursMs = 0;
    try {
        TSimpleSFTP sftp(std::make_unique<TSshChannel>(local.filePath(QStringLiteral("known_hosts"))));
        sftp.Connect(Env("TOVEL_SFTP_HOST"), Env("TOVEL_SFTP_PORT"), Env("TOVEL_SFTP_USER"), Env("TOVEL_SFTP_PASSWORD"));
        QElapsedTimer timer;
        timer.start();
        const auto done = sftp.GetFile(Env("TOVEL_SFTP_ROOT"), QStringLiteral("bench-256MiB.bin"),
                                       local.filePath(QStringLiteral("ours.bin")), false, true, false, 0);
        oursMs = timer.elapsed();
        if (static_cast<qint64>(done) != FileSize)
            throw TException(QStringLiteral("short download"));
    } catch (const TException &error) {
        std::printf("sftp_bench: GetFile failed: %s\n", error.what());
        return 1;
    }

    QProcess openssh;
    openssh.setProgram(QStringLiteral("sshpass"));
    openssh.setArguments({QStringLiteral("-p"), Env("TOVEL_SFTP_PASSWORD"), QStringLiteral("sftp"), QStringLiteral("-q"),
                          QStringLiteral("-o"), QStringLiteral("StrictHostKeyChecking=no"), QStringLiteral("-o"),
                          QStringLiteral("UserKnownHostsFile=/dev/null"), QStringLiteral("-P"), Env("TOVEL_SFTP_PORT"),
                          QStringLiteral("%1@%2:%3").arg(Env("TOVEL_SFTP_USER"), Env("TOVEL_SFTP_HOST"), source),
                          local.filePath(QStringLiteral("openssh.bin"))});
    QElapsedTimer timer;
    timer.start();
    openssh.start();
    openssh.waitForFinished(600000);
    const qint64 opensshMs = timer.elapsed();
    if (openssh.exitCode() != 0 || QFileInfo(local.filePath(QStringLiteral("openssh.bin"))).size() != FileSize) {
        std::printf("sftp_bench: OpenSSH sftp failed: %s\n", openssh.readAllStandardError().constData());
        return 1;
    }

    const double ours = MiBPerSecond(FileSize, oursMs);
    const double peer = MiBPerSecond(FileSize, opensshMs);
    std::printf("sftp_bench: 256 MiB download, GetFile %.1f MiB/s, OpenSSH sftp %.1f MiB/s, ratio (ours / OpenSSH) %.2f\n",
                ours, peer, peer > 0 ? ours / peer : 0.0);
    return 0;
}
