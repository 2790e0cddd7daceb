// A grid's stored design: any JSON either reads, and then writes back to a design that reads
// to the same grid, or fails with the library's error and leaves the grid as it was.
#include "fuzzsupport.h"
#include "grid/gridstream.h"
#include "platform/texception.h"
#include "testgrid.h"

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
    TestGrid grid;
    const QJsonObject before = TwGridStream::Write(grid);
    try {
        TwGridStream::Read(grid, document.object());
    } catch (const TException &) {
        FUZZ_CHECK(TwGridStream::Write(grid) == before);
        return 0;
    }
    const QJsonObject written = TwGridStream::Write(grid);
    TestGrid again;
    TwGridStream::Read(again, written);
    FUZZ_CHECK(TwGridStream::Write(again) == written);
    return 0;
}
