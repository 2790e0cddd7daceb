#include "updater/release/releasemanifest.h"

#include "platform/texception.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QCryptographicHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include <sodium.h>

#include <algorithm>

namespace {

constexpr char HeaderLine[] = "SKYRUN.MANIFEST 1";
constexpr char ExpiryFormat[] = "yyyy-MM-ddTHH:mm:ssZ";

void EnsureSodium()
{
    if (sodium_init() < 0)
        throw TException(QStringLiteral("The signature library cannot start"));
}

[[noreturn]] void Malformed(int line, const QString &what)
{
    throw TException(QStringLiteral("%1 line %2: %3").arg(QLatin1String(ManifestName)).arg(line).arg(what));
}

bool AllDigits(QByteArrayView text, qsizetype maxLength)
{
    return !text.isEmpty() && text.size() <= maxLength
        && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsLowerHex(QByteArrayView text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// Strict Base64 of exactly `bytes` bytes; empty when the text is not that.
QByteArray DecodeExact(QByteArrayView text, qsizetype bytes)
{
    const auto decoded = QByteArray::fromBase64Encoding(text.toByteArray(), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != bytes || decoded.decoded.toBase64() != text)
        return {};
    return decoded.decoded;
}

bool PathLess(const TManifestFile &a, const TManifestFile &b)
{
    return a.Path < b.Path;
}

struct TParsed
{
    TReleaseManifest manifest;
    qsizetype signedLength = 0;
    QByteArray signature;
};

TParsed Parse(const QByteArray &text)
{
    if (text.size() > MaxManifestBytes)
        throw TException(QStringLiteral("%1 is longer than %2 bytes").arg(QLatin1String(ManifestName)).arg(MaxManifestBytes));
    TParsed parsed;
    qsizetype start = 0;
    int number = 0;
    bool signatureSeen = false;
    while (start < text.size()) {
        ++number;
        const qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            Malformed(number, QStringLiteral("the manifest is cut short (its last line has no end)"));
        const QByteArrayView line = QByteArrayView(text).sliced(start, end - start);
        const qsizetype lineStart = start;
        start = end + 1;
        if (signatureSeen)
            Malformed(number, QStringLiteral("nothing may follow the signature"));
        if (number == 1) {
            if (line != HeaderLine)
                Malformed(number, QStringLiteral("not a release manifest of version 1"));
            continue;
        }
        if (number == 2) {
            if (!line.startsWith("sequence ") || !AllDigits(line.sliced(9), 19))
                Malformed(number, QStringLiteral("expected \"sequence\" and a number"));
            bool ok = false;
            parsed.manifest.Sequence = line.sliced(9).toULongLong(&ok);
            if (!ok)
                Malformed(number, QStringLiteral("the sequence number is too large"));
            continue;
        }
        if (number == 3) {
            // The fields are read as they stand, as UTC: parsing the text as a date-time
            // would read it in this machine's zone.
            const QByteArrayView value = line.startsWith("expires ") ? line.sliced(8) : QByteArrayView();
            static const QRegularExpression shape(
                QStringLiteral("^(\\d{4})-(\\d\\d)-(\\d\\d)T(\\d\\d):(\\d\\d):(\\d\\d)Z$"));
            const auto match = shape.match(QString::fromLatin1(value));
            const auto field = [&match](int i) { return match.captured(i).toInt(); };
            const QDate date = match.hasMatch() ? QDate(field(1), field(2), field(3)) : QDate();
            const QTime time = match.hasMatch() ? QTime(field(4), field(5), field(6)) : QTime();
            if (!date.isValid() || !time.isValid())
                Malformed(number, QStringLiteral("expected \"expires\" and a UTC time such as 2027-06-01T00:00:00Z"));
            parsed.manifest.Expires = QDateTime(date, time, Qt::UTC);
            continue;
        }
        if (line.startsWith("signature ")) {
            parsed.signature = DecodeExact(line.sliced(10), crypto_sign_BYTES);
            if (parsed.signature.isEmpty())
                Malformed(number, QStringLiteral("the signature is not Base64 of %1 bytes").arg(crypto_sign_BYTES));
            parsed.signedLength = lineStart;
            signatureSeen = true;
            continue;
        }
        if (!line.startsWith("file "))
            Malformed(number, QStringLiteral("expected a \"file\" or the \"signature\" line"));
        // "file" <64 hex digits> <size> <path to the end of the line>
        const QByteArrayView rest = line.sliced(5);
        const qsizetype sizeEnd = rest.size() > 65 ? rest.indexOf(' ', 65) : -1;
        if (rest.size() < 68 || rest.at(64) != ' ' || !IsLowerHex(rest.first(64)) || sizeEnd < 0
            || !AllDigits(rest.sliced(65, sizeEnd - 65), 18))
            Malformed(number, QStringLiteral("expected \"file\", a SHA-256 in hex, a size and a path"));
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        TManifestFile file;
        file.Path = utf8(rest.sliced(sizeEnd + 1));
        if (utf8.hasError() || !IsManifestPath(file.Path))
            Malformed(number, QStringLiteral("the path may not stand in a manifest"));
        file.Size = rest.sliced(65, sizeEnd - 65).toLongLong();
        file.Sha256 = QByteArray::fromHex(rest.first(64).toByteArray());
        parsed.manifest.Files.append(std::move(file));
    }
    if (number < 3)
        throw TException(QStringLiteral("%1 is cut short: it lacks its sequence or expiry").arg(QLatin1String(ManifestName)));
    if (!signatureSeen)
        throw TException(QStringLiteral("%1 is cut short: it has no signature").arg(QLatin1String(ManifestName)));
    auto &files = parsed.manifest.Files;
    std::stable_sort(files.begin(), files.end(), PathLess);
    const auto twice = std::adjacent_find(files.begin(), files.end(),
                                          [](const TManifestFile &a, const TManifestFile &b) { return a.Path == b.Path; });
    if (twice != files.end())
        throw TException(QStringLiteral("%1 lists %2 twice").arg(QLatin1String(ManifestName), twice->Path));
    return parsed;
}

} // namespace

const TManifestFile *TReleaseManifest::Find(const QString &path) const
{
    TManifestFile key;
    key.Path = path;
    const auto it = std::lower_bound(Files.begin(), Files.end(), key, PathLess);
    return it != Files.end() && it->Path == path ? &*it : nullptr;
}

QStringList TReleaseManifest::NamesIn(const QString &folder) const
{
    // The files come in path order: those under `folder` follow one another from the
    // first path that is not less than it.
    TManifestFile first;
    first.Path = folder;
    QStringList names;
    for (auto it = std::lower_bound(Files.begin(), Files.end(), first, PathLess);
         it != Files.end() && it->Path.startsWith(folder); ++it) {
        const QString name = it->Path.mid(folder.size());
        if (!name.contains(QLatin1Char('/')))
            names.append(name);
    }
    return names;
}

bool IsManifestPath(const QString &path)
{
    if (path.isEmpty() || path.contains(QLatin1Char('\\')))
        return false;
    if (std::any_of(path.begin(), path.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; }))
        return false;
    const QStringList parts = path.split(QLatin1Char('/'));
    return std::none_of(parts.begin(), parts.end(), [](const QString &part) {
        return part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..");
    });
}

TReleaseManifest ParseManifest(const QByteArray &text)
{
    return Parse(text).manifest;
}

TReleaseManifest VerifyManifest(const QByteArray &text, const QByteArray &publicKey)
{
    EnsureSodium();
    TParsed parsed = Parse(text);
    if (publicKey.size() != crypto_sign_PUBLICKEYBYTES)
        throw TException(QStringLiteral("The public key is not an Ed25519 key"));
    if (crypto_sign_verify_detached(reinterpret_cast<const unsigned char *>(parsed.signature.constData()),
                                    reinterpret_cast<const unsigned char *>(text.constData()),
                                    static_cast<unsigned long long>(parsed.signedLength),
                                    reinterpret_cast<const unsigned char *>(publicKey.constData()))
        != 0)
        throw TException(QStringLiteral("%1 was not signed with the release key this workstation trusts")
                             .arg(QLatin1String(ManifestName)));
    return std::move(parsed.manifest);
}

QByteArray SignManifest(TReleaseManifest manifest, const QByteArray &secretKey)
{
    EnsureSodium();
    if (secretKey.size() != crypto_sign_SECRETKEYBYTES)
        throw TException(QStringLiteral("The secret key is not an Ed25519 key"));
    if (manifest.Sequence > MaxReleaseSequence)
        throw TException(QStringLiteral("The sequence number is at most %1").arg(MaxReleaseSequence));
    std::stable_sort(manifest.Files.begin(), manifest.Files.end(), PathLess);
    QByteArray text = QByteArray(HeaderLine) + '\n';
    text += "sequence " + QByteArray::number(manifest.Sequence) + '\n';
    text += "expires " + manifest.Expires.toUTC().toString(QLatin1String(ExpiryFormat)).toLatin1() + '\n';
    for (const TManifestFile &file : manifest.Files) {
        if (!IsManifestPath(file.Path) || file.Sha256.size() != 32 || file.Size < 0)
            throw TException(QStringLiteral("%1 cannot be listed in a manifest").arg(file.Path));
        text += "file " + file.Sha256.toHex() + ' ' + QByteArray::number(file.Size) + ' ' + file.Path.toUtf8() + '\n';
    }
    unsigned char signature[crypto_sign_BYTES];
    crypto_sign_detached(signature, nullptr, reinterpret_cast<const unsigned char *>(text.constData()),
                         static_cast<unsigned long long>(text.size()),
                         reinterpret_cast<const unsigned char *>(secretKey.constData()));
    text += "signature " + QByteArray(reinterpret_cast<const char *>(signature), crypto_sign_BYTES).toBase64() + '\n';
    return text;
}

QList<TManifestFile> ScanReleaseFolder(const QString &folder)
{
    const QDir root(folder);
    if (!root.exists())
        throw TException(QStringLiteral("No such folder: %1").arg(folder));
    QList<TManifestFile> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        // The updater lists links as links and never fetches them.
        if (info.isSymLink())
            continue;
        const QString path = root.relativeFilePath(info.absoluteFilePath());
        if (path.compare(QLatin1String(ManifestName), Qt::CaseInsensitive) == 0
            || info.fileName().toLower().contains(QLatin1String(".download")))
            continue;
        if (!IsManifestPath(path))
            throw TException(QStringLiteral("A manifest cannot list the name %1").arg(path));
        const QByteArray hash = FileSha256(info.absoluteFilePath());
        if (hash.isEmpty())
            throw TException(QStringLiteral("Cannot read %1").arg(info.absoluteFilePath()));
        files.append({path, info.size(), hash});
    }
    std::stable_sort(files.begin(), files.end(), PathLess);
    return files;
}

QByteArray FileSha256(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result();
}

TKeyPair MakeKeyPair()
{
    EnsureSodium();
    TKeyPair pair;
    pair.PublicKey.resize(crypto_sign_PUBLICKEYBYTES);
    pair.SecretKey.resize(crypto_sign_SECRETKEYBYTES);
    crypto_sign_keypair(reinterpret_cast<unsigned char *>(pair.PublicKey.data()),
                        reinterpret_cast<unsigned char *>(pair.SecretKey.data()));
    return pair;
}

QByteArray PublicKeyFromText(const QString &text)
{
    const QByteArray key = DecodeExact(text.trimmed().toLatin1(), crypto_sign_PUBLICKEYBYTES);
    if (key.isEmpty())
        throw TException(QStringLiteral("The public key must be the %1 Base64 characters SkyrunSign keygen printed")
                             .arg(4 * ((crypto_sign_PUBLICKEYBYTES + 2) / 3)));
    return key;
}

QByteArray ReadSecretKeyFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw TException(QStringLiteral("Cannot read %1: %2").arg(fileName, file.errorString()));
    const QByteArray key = DecodeExact(file.read(1024).trimmed(), crypto_sign_SECRETKEYBYTES);
    if (key.isEmpty())
        throw TException(QStringLiteral("%1 is not a secret key written by SkyrunSign keygen").arg(fileName));
    return key;
}

void WriteSecretKeyFile(const QString &fileName, const QByteArray &secretKey)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        throw TException(QStringLiteral("Cannot create %1: %2").arg(fileName, file.errorString()));
    const QByteArray text = secretKey.toBase64() + '\n';
    if (file.write(text) != text.size() || !file.flush()) {
        file.remove();
        throw TException(QStringLiteral("Cannot write %1: %2").arg(fileName, file.errorString()));
    }
}

QByteArray PublicKeyOf(const QByteArray &secretKey)
{
    EnsureSodium();
    if (secretKey.size() != crypto_sign_SECRETKEYBYTES)
        throw TException(QStringLiteral("The secret key is not an Ed25519 key"));
    QByteArray key(crypto_sign_PUBLICKEYBYTES, Qt::Uninitialized);
    crypto_sign_ed25519_sk_to_pk(reinterpret_cast<unsigned char *>(key.data()),
                                 reinterpret_cast<const unsigned char *>(secretKey.constData()));
    return key;
}
