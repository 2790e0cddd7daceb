// Server listings in the three styles: whatever a server sends, no entry hands on a name
// that could leave the folder it is stored in.
#include "fuzzsupport.h"
#include "platform/texception.h"
#include "updater/ftplisting.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte chooses the command and the names' encoding.
    const TFtpListingKind kind = data[0] & 1 ? TFtpListingKind::Mlsd : TFtpListingKind::List;
    const bool utf8 = data[0] & 2;
    try {
        const QList<TFtpListItem> items =
            ParseFtpListing(FuzzBytes(data + 1, size - 1), kind, utf8, QDate(2024, 6, 15));
        for (const TFtpListItem &item : items) {
            FUZZ_CHECK(IsSafeListedName(item.FileName));
            FUZZ_CHECK(!item.FileName.contains(QLatin1Char('/')) && !item.FileName.contains(QLatin1Char('\\')));
            FUZZ_CHECK(item.FileName != QLatin1String("..") && item.FileName != QLatin1String("."));
        }
    } catch (const TException &) {
        // Listings beyond the limits fail, as they should.
    }
    return 0;
}
