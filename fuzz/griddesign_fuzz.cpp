// A grid's stored design, as business screens store their complete grids (data columns, row
// count and all): any JSON either reads, and then writes back to a design that reads to the
// same grid, or fails with the library's error and leaves the grid as it was.
#include "fuzzsupport.h"
#include "grid/gridstream.h"
#include "platform/texception.h"
#include "grid/tabrix.h"

#include <QApplication>
#include <QJsonDocument>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "griddesign_fuzz";
    static char *argv[] = {name, nullptr};
    static QApplication application(argc, argv);

    const QJsonDocument document = QJsonDocument::fromJson(FuzzBytes(data, size));
    if (!document.isObject())
        return 0;
    TTabrix grid;
    const QJsonObject before = TwGridStream::Write(grid);
    try {
        TwGridStream::Read(grid, document.object());
    } catch (const TException &) {
        FUZZ_CHECK(TwGridStream::Write(grid) == before);
        return 0;
    }
    const QJsonObject written = TwGridStream::Write(grid);
    TTabrix again;
    TwGridStream::Read(again, written);
    FUZZ_CHECK(TwGridStream::Write(again) == written);
    return 0;
}
