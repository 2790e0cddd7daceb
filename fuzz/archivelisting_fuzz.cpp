// 7-Zip's technical listing: any output parses; an entry the archive check lets through
// never climbs out of its folder.
#include "fuzzsupport.h"
#include "updater/skyrunapply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QList<TArchiveEntry> entries = ParseArchiveListing(FuzzBytes(data, size));
    for (const TArchiveEntry &entry : entries) {
        if (!IsSafeArchivePath(entry.Path))
            continue;
        QString unified = entry.Path;
        unified.replace(QLatin1Char('\\'), QLatin1Char('/'));
        FUZZ_CHECK(!unified.startsWith(QLatin1Char('/')));
        FUZZ_CHECK(!unified.split(QLatin1Char('/')).contains(QStringLiteral("..")));
        // Also after the folder's own clean-up of "." and empty parts ("..x" is a name).
        const QString clean = QDir::cleanPath(QStringLiteral("/base/") + unified);
        FUZZ_CHECK(clean == QStringLiteral("/base") || clean.startsWith(QStringLiteral("/base/")));
        FUZZ_CHECK(!clean.split(QLatin1Char('/')).contains(QStringLiteral("..")));
    }
    return 0;
}
