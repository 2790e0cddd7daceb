#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// A signed release: SKYRUN.MANIFEST in the base directory of the file server lists every
// file a workstation may fetch (its path under the base directory, its size and SHA-256),
// the release's sequence number and the time after which it is no longer accepted, and
// ends with an Ed25519 signature over every byte above the signature line. The text is
// meant to be read by a person:
//
//   SKYRUN.MANIFEST 1
//   sequence 12
//   expires 2027-06-01T00:00:00Z
//   file 9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08 4 sub/report.dll
//   signature <Base64 of the 64-byte signature>
//
// Lines end with a line feed; the file lines come in path order.

inline constexpr char ManifestName[] = "SKYRUN.MANIFEST";
/// The largest sequence number a manifest carries (19 digits).
inline constexpr quint64 MaxReleaseSequence = 9999999999999999999ull;
/// A manifest longer than this is refused before it is read.
inline constexpr qint64 MaxManifestBytes = 16 * 1024 * 1024;

struct TManifestFile
{
    /// Under the base directory, "/"-separated ("sub/report.dll").
    QString Path;
    qint64 Size = 0;
    /// 32 bytes.
    QByteArray Sha256;

    friend bool operator==(const TManifestFile &, const TManifestFile &) = default;
};

struct TReleaseManifest
{
    quint64 Sequence = 0;
    /// UTC, whole seconds.
    QDateTime Expires;
    QList<TManifestFile> Files;

    /// The entry of `path`, or nullptr when the release does not list it.
    const TManifestFile *Find(const QString &path) const;
    /// The names of the files listed directly in `folder` ("sub/", "" for the base).
    QStringList NamesIn(const QString &folder) const;
};

/// Reads a manifest without checking its signature. Throws TException naming the first
/// thing that is wrong (a garbled line, a manifest cut short, a path that leaves the
/// base directory, a path listed twice).
TReleaseManifest ParseManifest(const QByteArray &text);
/// Reads a manifest and checks its signature with `publicKey` (32 bytes). Throws
/// TException when it is malformed or was not signed with the matching secret key.
TReleaseManifest VerifyManifest(const QByteArray &text, const QByteArray &publicKey);
/// The signed text of `manifest`; its files are written in path order. Throws TException
/// for a sequence above MaxReleaseSequence or a file a manifest cannot list.
QByteArray SignManifest(TReleaseManifest manifest, const QByteArray &secretKey);

/// Whether `path` may stand in a manifest: relative, "/"-separated, no empty, "." or
/// ".." part, no backslash and no control character.
bool IsManifestPath(const QString &path);

/// Every file of the folder tree `folder` that a workstation may fetch, with its size and
/// SHA-256, in path order: all regular files but the manifest of the top folder and the
/// names an update never fetches (those holding ".download"). Throws TException for a
/// file it cannot read or a name a manifest cannot hold.
QList<TManifestFile> ScanReleaseFolder(const QString &folder);

/// The SHA-256 of a file's bytes; empty when it cannot be read.
QByteArray FileSha256(const QString &path);

struct TKeyPair
{
    QByteArray PublicKey; // 32 bytes
    QByteArray SecretKey; // 64 bytes
};
TKeyPair MakeKeyPair();
/// The 32 key bytes of a public key written as Base64 (as skyrun.ini and the settings
/// dialog hold it). Throws TException when it is not one.
QByteArray PublicKeyFromText(const QString &text);
/// The secret key of a key file written by SkyrunSign keygen. Throws TException.
QByteArray ReadSecretKeyFile(const QString &fileName);
/// Writes a new secret key file readable by its owner only; refuses to overwrite one.
void WriteSecretKeyFile(const QString &fileName, const QByteArray &secretKey);
/// The public half of a secret key.
QByteArray PublicKeyOf(const QByteArray &secretKey);
