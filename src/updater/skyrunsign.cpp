// SkyrunSign: the release engineer's tool. It makes the company's release key pair and
// signs a server folder tree, writing its SKYRUN.MANIFEST; the secret key stays with the
// engineer, workstations only ever hold the public key.
//
//   SkyrunSign keygen <secret-key-file>
//   SkyrunSign sign --key <secret-key-file> [--sequence N] [--valid-days D] <server-folder>
//   SkyrunSign verify --public-key <Base64> <server-folder>

#include "platform/texception.h"
#include "updater/release/releasemanifest.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>

namespace {

void Print(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

int Usage()
{
    Print(stderr, QStringLiteral("usage: SkyrunSign keygen <secret-key-file>\n"
                                 "       SkyrunSign sign --key <secret-key-file> [--sequence N] [--valid-days D] "
                                 "<server-folder>\n"
                                 "       SkyrunSign verify --public-key <Base64> <server-folder>"));
    return 2;
}

int KeyGen(const QStringList &args)
{
    if (args.size() != 1)
        return Usage();
    const TKeyPair pair = MakeKeyPair();
    WriteSecretKeyFile(args[0], pair.SecretKey);
    const QString publicKey = QString::fromLatin1(pair.PublicKey.toBase64());
    QSaveFile pub(args[0] + QStringLiteral(".pub"));
    if (!pub.open(QIODevice::WriteOnly) || pub.write(publicKey.toLatin1() + '\n') < 0 || !pub.commit())
        throw TException(QStringLiteral("Cannot write %1.pub: %2").arg(args[0], pub.errorString()));
    Print(stdout, QStringLiteral("secret key: %1 (keep it off the workstations)").arg(args[0]));
    Print(stdout, QStringLiteral("public key: %1").arg(publicKey));
    Print(stdout, QStringLiteral("Enter the public key in the updater's settings (Skyrun config), or as PUBLICKEY in "
                                 "section FILESERVER of skyrun.ini."));
    return 0;
}

// The value after option `name`, removed with it from `args`; `fallback` when absent.
QString TakeOption(QStringList &args, const QString &name, const QString &fallback = {})
{
    const qsizetype at = args.indexOf(name);
    if (at < 0)
        return fallback;
    if (at + 1 >= args.size())
        throw TException(QStringLiteral("%1 needs a value").arg(name));
    const QString value = args[at + 1];
    args.remove(at, 2);
    return value;
}

quint64 Number(const QString &text, const QString &what)
{
    bool ok = false;
    const quint64 value = text.toULongLong(&ok);
    if (!ok)
        throw TException(QStringLiteral("%1 is not a number: %2").arg(what, text));
    return value;
}

int Sign(QStringList args)
{
    const QString keyFile = TakeOption(args, QStringLiteral("--key"));
    const QString sequenceText = TakeOption(args, QStringLiteral("--sequence"));
    const quint64 days = Number(TakeOption(args, QStringLiteral("--valid-days"), QStringLiteral("180")),
                                QStringLiteral("--valid-days"));
    if (keyFile.isEmpty() || args.size() != 1 || days == 0 || days > 36500)
        return Usage();
    const QString folder = args[0];
    const QByteArray secretKey = ReadSecretKeyFile(keyFile);
    const QString manifestPath = QDir(folder).filePath(QLatin1String(ManifestName));

    const QDateTime now = QDateTime::currentDateTimeUtc();
    TReleaseManifest manifest;
    if (!sequenceText.isEmpty()) {
        manifest.Sequence = Number(sequenceText, QStringLiteral("--sequence"));
    } else {
        // The time of signing as a number (20270601093000): it grows from release to
        // release even when the folder was made afresh or restored, or the key changed;
        // and at least one more than the release the folder held, when it was this key's.
        manifest.Sequence = now.toString(QStringLiteral("yyyyMMddHHmmss")).toULongLong();
        QFile old(manifestPath);
        if (old.open(QIODevice::ReadOnly)) {
            try {
                const quint64 previous = VerifyManifest(old.read(MaxManifestBytes + 1), PublicKeyOf(secretKey)).Sequence;
                manifest.Sequence = qMax(manifest.Sequence, previous + 1);
            } catch (const TException &) {
                // Another key's, or broken: it says nothing about this key's releases.
            }
        }
    }
    manifest.Expires = now.addDays(static_cast<qint64>(days));
    manifest.Expires.setTime(QTime(manifest.Expires.time().hour(), manifest.Expires.time().minute(),
                                   manifest.Expires.time().second()));
    manifest.Files = ScanReleaseFolder(folder);
    const QByteArray text = SignManifest(manifest, secretKey);

    QSaveFile out(manifestPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit())
        throw TException(QStringLiteral("Cannot write %1: %2").arg(manifestPath, out.errorString()));
    Print(stdout, QStringLiteral("%1: release %2, %3 files, valid until %4")
                      .arg(manifestPath)
                      .arg(manifest.Sequence)
                      .arg(manifest.Files.size())
                      .arg(manifest.Expires.toString(Qt::ISODate)));
    return 0;
}

// Checks a folder against its manifest as a workstation would: signature, expiry, and
// every file's size and digest.
int Verify(QStringList args)
{
    const QString keyText = TakeOption(args, QStringLiteral("--public-key"));
    if (keyText.isEmpty() || args.size() != 1)
        return Usage();
    const QString manifestPath = QDir(args[0]).filePath(QLatin1String(ManifestName));
    QFile file(manifestPath);
    if (!file.open(QIODevice::ReadOnly))
        throw TException(QStringLiteral("Cannot read %1: %2").arg(manifestPath, file.errorString()));
    const TReleaseManifest manifest = VerifyManifest(file.read(MaxManifestBytes + 1), PublicKeyFromText(keyText));
    int problems = 0;
    if (manifest.Expires < QDateTime::currentDateTimeUtc()) {
        Print(stdout, QStringLiteral("expired at %1").arg(manifest.Expires.toString(Qt::ISODate)));
        ++problems;
    }
    const QList<TManifestFile> present = ScanReleaseFolder(args[0]);
    for (const TManifestFile &found : present) {
        const TManifestFile *listed = manifest.Find(found.Path);
        if (!listed) {
            Print(stdout, QStringLiteral("not listed: %1").arg(found.Path));
            ++problems;
        } else if (!(*listed == found)) {
            Print(stdout, QStringLiteral("changed: %1").arg(found.Path));
            ++problems;
        }
    }
    for (const TManifestFile &listed : manifest.Files) {
        if (!std::any_of(present.begin(), present.end(), [&](const TManifestFile &f) { return f.Path == listed.Path; })) {
            Print(stdout, QStringLiteral("missing: %1").arg(listed.Path));
            ++problems;
        }
    }
    Print(stdout, QStringLiteral("release %1: %2").arg(manifest.Sequence).arg(problems == 0 ? QStringLiteral("good")
                                                                                            : QStringLiteral("%1 problems").arg(problems)));
    return problems == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return Usage();
    const QString command = args.takeFirst();
    try {
        if (command == QLatin1String("keygen"))
            return KeyGen(args);
        if (command == QLatin1String("sign"))
            return Sign(args);
        if (command == QLatin1String("verify"))
            return Verify(args);
    } catch (const TException &error) {
        Print(stderr, QStringLiteral("SkyrunSign: %1").arg(error.Message()));
        return 1;
    }
    return Usage();
}
