// The release manifest a file server hands a workstation: whatever it holds, reading it
// either throws or gives files with safe, unique paths in path order, which sign and read
// back to the same release; a manifest is never taken without a good signature.
#include "fuzzsupport.h"
#include "platform/texception.h"
#include "updater/release/releasemanifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const TKeyPair key = MakeKeyPair();
    const QByteArray bytes = FuzzBytes(data, size);
    TReleaseManifest manifest;
    try {
        manifest = ParseManifest(bytes);
    } catch (const TException &) {
        return 0;
    }
    for (qsizetype i = 0; i < manifest.Files.size(); ++i) {
        FUZZ_CHECK(IsManifestPath(manifest.Files[i].Path));
        FUZZ_CHECK(manifest.Files[i].Sha256.size() == 32 && manifest.Files[i].Size >= 0);
        FUZZ_CHECK(i == 0 || manifest.Files[i - 1].Path < manifest.Files[i].Path);
        FUZZ_CHECK(manifest.Find(manifest.Files[i].Path) == &manifest.Files[i]);
    }
    // Random bytes never carry a signature of a key made in this run.
    bool taken = true;
    try {
        VerifyManifest(bytes, key.PublicKey);
    } catch (const TException &) {
        taken = false;
    }
    FUZZ_CHECK(!taken);
    const TReleaseManifest again = VerifyManifest(SignManifest(manifest, key.SecretKey), key.PublicKey);
    FUZZ_CHECK(again.Sequence == manifest.Sequence && again.Expires == manifest.Expires && again.Files == manifest.Files);
    return 0;
}
