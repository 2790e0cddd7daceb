#include "testsupport.h"

#include "platform/texception.h"
#include "updater/release/releasemanifest.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TReleaseManifest Sample()
{
    TReleaseManifest manifest;
    manifest.Sequence = 42;
    manifest.Expires = QDateTime(QDate(2030, 1, 2), QTime(3, 4, 5), Qt::UTC);
    manifest.Files = {{Q("sub/보고서 1.dll"), 5, QByteArray(32, '\x11')}, {Q("a.dll"), 0, QByteArray(32, '\x22')}};
    return manifest;
}

TEST(ReleaseManifest, SignedTextReadsBackAndEveryChangedByteIsRefused)
{
    const TKeyPair key = MakeKeyPair();
    const QByteArray text = SignManifest(Sample(), key.SecretKey);
    EXPECT_TRUE(text.startsWith("SKYRUN.MANIFEST 1\nsequence 42\nexpires 2030-01-02T03:04:05Z\nfile 2222"))
        << text.toStdString();
    const TReleaseManifest read = VerifyManifest(text, key.PublicKey);
    EXPECT_EQ(read.Sequence, 42u);
    EXPECT_EQ(read.Expires, Sample().Expires);
    ASSERT_EQ(read.Files.size(), 2);
    EXPECT_EQ(read.Files[0], Sample().Files[1]) << "files come in path order";
    ASSERT_NE(read.Find(Q("sub/보고서 1.dll")), nullptr);
    EXPECT_EQ(read.Find(Q("sub/보고서 1.dll"))->Size, 5);
    EXPECT_EQ(read.Find(Q("sub")), nullptr);
    EXPECT_EQ(read.Find(Q("A.DLL")), nullptr);
    EXPECT_EQ(PublicKeyOf(key.SecretKey), key.PublicKey);

    // Any byte changed anywhere, the signature line included, and any prefix: refused.
    for (qsizetype i = 0; i < text.size(); ++i) {
        QByteArray changed = text;
        changed[i] = static_cast<char>(changed[i] ^ 0x01);
        EXPECT_THROW(VerifyManifest(changed, key.PublicKey), TException) << "byte " << i;
        EXPECT_THROW(VerifyManifest(text.left(i), key.PublicKey), TException) << "cut at " << i;
    }
    EXPECT_THROW(VerifyManifest(text, MakeKeyPair().PublicKey), TException);
    EXPECT_THROW(VerifyManifest(text + "file x\n", key.PublicKey), TException);
    EXPECT_THROW(VerifyManifest(text, key.PublicKey.left(31)), TException);
}

// The expiry is UTC whatever zone the workstation is in, daylight-saving gaps included.
TEST(ReleaseManifest, TheExpiryIsReadAsUtcInEveryZone)
{
    const TKeyPair key = MakeKeyPair();
    TReleaseManifest manifest = Sample();
    manifest.Expires = QDateTime(QDate(2027, 3, 14), QTime(2, 30, 0), Qt::UTC);
    const QByteArray text = SignManifest(manifest, key.SecretKey);
    const bool hadZone = qEnvironmentVariableIsSet("TZ");
    const QByteArray oldZone = qgetenv("TZ");
    for (const char *zone : {"Asia/Seoul", "America/New_York", "UTC"}) {
        qputenv("TZ", zone);
        tzset();
        EXPECT_TRUE(text.contains("expires 2027-03-14T02:30:00Z\n")) << zone;
        EXPECT_EQ(VerifyManifest(text, key.PublicKey).Expires.toSecsSinceEpoch(),
                  manifest.Expires.toSecsSinceEpoch()) << zone;
        EXPECT_EQ(SignManifest(VerifyManifest(text, key.PublicKey), key.SecretKey), text) << zone;
    }
    hadZone ? qputenv("TZ", oldZone) : qunsetenv("TZ");
    tzset();
}

// Each broken line is named; none is taken for something else.
TEST(ReleaseManifest, MalformedManifestsNameTheirLine)
{
    const QByteArray hash(64, 'a');
    const QByteArray tail = "signature " + QByteArray(64, '\0').toBase64() + "\n";
    const QByteArray head = "SKYRUN.MANIFEST 1\nsequence 1\nexpires 2030-01-01T00:00:00Z\n";
    const struct
    {
        QByteArray text;
        const char *error;
    } cases[] = {
        {"SKYRUN.MANIFEST 2\n", "line 1"},
        {"SKYRUN.MANIFEST 1\nsequence -1\n", "line 2"},
        {"SKYRUN.MANIFEST 1\nsequence 99999999999999999999\n", "line 2"},
        {"SKYRUN.MANIFEST 1\nsequence 1\nexpires 2030-01-01 00:00:00\n", "line 3"},
        {"SKYRUN.MANIFEST 1\nsequence 1\nexpires 2030-02-30T00:00:00Z\n", "line 3"},
        {head + "file " + hash + " 1 ../x\n" + tail, "line 4"},
        {head + "file " + hash + " 1 /x\n" + tail, "line 4"},
        {head + "file " + hash + " 1 a\\b\n" + tail, "line 4"},
        {head + "file " + hash + " 1 a//b\n" + tail, "line 4"},
        {head + "file " + hash.toUpper() + " 1 x\n" + tail, "line 4"},
        {head + "file " + hash + " x 1\n" + tail, "line 4"},
        {head + "file " + hash + " 1 a\xff\n" + tail, "line 4"},
        {head + "file " + hash + " 1 x\r\n" + tail, "line 4"},
        {head + "extra\n" + tail, "line 4"},
        {head + "signature AAAA\n", "line 4"},
        {head + tail + "file " + hash + " 1 x\n", "line 5"},
        {head + "file " + hash + " 1 x\nfile " + hash + " 2 x\n" + tail, "twice"},
        {head + "file " + hash + " 1 x\n", "no signature"},
        {head + "file " + hash + " 1 x", "cut short"},
        {"SKYRUN.MANIFEST 1\n", "cut short"},
        {QByteArray(), "cut short"},
    };
    for (const auto &c : cases) {
        const QString error = ErrorOf([&] { ParseManifest(c.text); });
        EXPECT_TRUE(error.contains(Q(c.error))) << c.text.toStdString() << " → " << error.toStdString();
    }
    EXPECT_NO_THROW(ParseManifest(head + "file " + hash + " 1 a b/c d\n" + tail));
}

TEST(ReleaseManifest, FolderScanKeysAndPaths)
{
    QTemporaryDir folder;
    QDir().mkpath(folder.filePath(Q("sub/deeper")));
    WriteFileBytes(folder.filePath(Q("a.dll")), "abc");
    WriteFileBytes(folder.filePath(Q("sub/deeper/한글.dll")), "");
    WriteFileBytes(folder.filePath(Q(".hidden")), "h");
    WriteFileBytes(folder.filePath(Q("SKYRUN.MANIFEST")), "old");
    WriteFileBytes(folder.filePath(Q("sub/SKYRUN.MANIFEST")), "a file like any other below the top");
    WriteFileBytes(folder.filePath(Q("x.dll.download")), "never fetched");
    QFile::link(folder.filePath(Q("a.dll")), folder.filePath(Q("link.dll")));
    QStringList paths;
    for (const TManifestFile &file : ScanReleaseFolder(folder.path()))
        paths << file.Path + QLatin1Char(':') + QString::number(file.Size);
    EXPECT_EQ(paths, (QStringList{Q(".hidden:1"), Q("a.dll:3"), Q("sub/SKYRUN.MANIFEST:35"), Q("sub/deeper/한글.dll:0")}));
    EXPECT_EQ(ScanReleaseFolder(folder.path())[1].Sha256.toHex(),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    WriteFileBytes(folder.filePath(Q("bad\nname")), "x");
    EXPECT_TRUE(ErrorOf([&] { ScanReleaseFolder(folder.path()); }).contains(Q("cannot list")));
    EXPECT_THROW(ScanReleaseFolder(folder.filePath(Q("missing"))), TException);

    for (const char *bad : {"", "/a", "a/", "a//b", "./a", "a/../b", "..", "a\\b", "a\tb"})
        EXPECT_FALSE(IsManifestPath(Q(bad))) << bad;
    for (const char *good : {"a", "a b/c", "...", "..a", "한글/파일.dll"})
        EXPECT_TRUE(IsManifestPath(Q(good))) << good;

    const TKeyPair key = MakeKeyPair();
    EXPECT_EQ(PublicKeyFromText(QString::fromLatin1(key.PublicKey.toBase64()) + Q(" ")), key.PublicKey);
    for (const QByteArray &bad : {QByteArray(), key.PublicKey.toBase64().left(40), key.SecretKey.toBase64(),
                                  key.PublicKey.toBase64().replace('=', '#')})
        EXPECT_TRUE(ErrorOf([&] { PublicKeyFromText(QString::fromLatin1(bad)); }).contains(Q("keygen"))) << bad.toStdString();
    const QString secret = folder.filePath(Q("release.key"));
    WriteSecretKeyFile(secret, key.SecretKey);
    EXPECT_EQ(QFileInfo(secret).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    EXPECT_EQ(ReadSecretKeyFile(secret), key.SecretKey);
    EXPECT_THROW(WriteSecretKeyFile(secret, MakeKeyPair().SecretKey), TException);
    EXPECT_EQ(ReadSecretKeyFile(secret), key.SecretKey) << "an existing key is never overwritten";
    EXPECT_THROW(ReadSecretKeyFile(folder.filePath(Q("a.dll"))), TException);
}

} // namespace
