// The server directory list from the settings' path value and skyrun2.cfg: every entry is
// an absolute server path, the base a folder.
#include "fuzzsupport.h"
#include "platform/cp949.h"
#include "updater/skyrunlib.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The path value, a NUL byte, then skyrun2.cfg's bytes (no file without the NUL).
    const QByteArray bytes = FuzzBytes(data, size);
    const qsizetype split = bytes.indexOf('\0');
    const QString folder = FuzzScratch();
    QFile::remove(folder + QStringLiteral("/skyrun2.cfg"));
    if (split >= 0) {
        QFile cfg(folder + QStringLiteral("/skyrun2.cfg"));
        if (cfg.open(QIODevice::WriteOnly))
            cfg.write(bytes.mid(split + 1));
    }
    const QString path = Platform::FromCp949(split >= 0 ? bytes.left(split) : bytes);
    const QStringList dirs = BuildDirectoryList(path, folder);
    for (qsizetype i = 0; i < dirs.size(); ++i) {
        if (dirs[i].isEmpty())
            break;
        FUZZ_CHECK(dirs[i].startsWith(QLatin1Char('/')));
        FUZZ_CHECK(!dirs[i].contains(QLatin1Char('\\')));
        if (i == 0)
            FUZZ_CHECK(dirs[i].endsWith(QLatin1Char('/')));
    }
    return 0;
}
