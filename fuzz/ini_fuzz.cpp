// Settings files edited by hand: any bytes read; a write followed by a read gives the value
// back and keeps every other line of the file as it was.
#include "fuzzsupport.h"
#include "platform/inifile.h"

#include <QFile>

namespace {

// The lines as the reader sees them: a carriage return ends a line only before a line feed,
// so a last line without a line feed keeps its carriage return.
QList<QByteArray> Lines(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    const bool lastUnterminated = !bytes.endsWith('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].endsWith('\r') && !(lastUnterminated && i == lines.size() - 1))
            lines[i].chop(1);
    }
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

// Whether every line of `before` is in `after`, in the same order.
bool KeptInOrder(const QList<QByteArray> &before, const QList<QByteArray> &after)
{
    qsizetype at = 0;
    for (const QByteArray &line : before) {
        while (at < after.size() && after[at] != line)
            ++at;
        if (at == after.size())
            return false;
        ++at;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    const QString path = FuzzScratch() + QStringLiteral("/fuzz.ini");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 0;
    }
    TIniFile ini(path);
    for (const QString &section : ini.ReadSections()) {
        for (const TIniEntry &entry : ini.ReadSectionValues(section))
            FUZZ_CHECK(ini.ReadString(section, entry.Name) == entry.Value);
    }
    // A key of its own, in a section of its own: nothing of the file may change but its line.
    if (bytes.toLower().contains("zzfuzz"))
        return 0;
    const QString value = QStringLiteral("값 %1").arg(size);
    FUZZ_CHECK(ini.WriteString(QStringLiteral("zzfuzz"), QStringLiteral("zzkey"), value));
    FUZZ_CHECK(TIniFile(path).ReadString(QStringLiteral("ZZFUZZ"), QStringLiteral("ZZKEY")) == value);
    QFile written(path);
    FUZZ_CHECK(written.open(QIODevice::ReadOnly));
    FUZZ_CHECK(KeptInOrder(Lines(bytes), Lines(written.readAll())));
    return 0;
}
