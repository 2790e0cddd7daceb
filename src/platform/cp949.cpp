#include "platform/cp949.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Platform {

QByteArray ToCp949(const QString &text)
{
    QStringEncoder encoder("CP949", QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

QString FromCp949(QByteArrayView bytes)
{
    QStringDecoder decoder("CP949", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

qsizetype Cp949Fit(QByteArrayView bytes, qsizetype limit)
{
    if (limit >= bytes.size())
        return bytes.size();
    qsizetype pos = 0;
    while (pos < limit) {
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        const qsizetype width = (lead >= 0x81 && lead <= 0xFE && pos + 1 < bytes.size()) ? 2 : 1;
        if (pos + width > limit)
            break;
        pos += width;
    }
    return pos;
}

QString TrimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 32)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 32)
        --last;
    return text.mid(first, last - first);
}

} // namespace Platform
