#include "grid/support/cp949text_p.h"

#include "platform/cp949.h"

namespace {

bool IsAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

bool IsLeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

} // namespace

int TXCp949Size(const QString &text)
{
    return static_cast<int>(IsAscii(text) ? text.size() : Platform::ToCp949(text).size());
}

QString TXCp949Left(const QString &text, int width)
{
    // No character takes more than two bytes, and ASCII takes one: most texts are decided
    // without a conversion.
    if (text.size() * 2 <= width)
        return text;
    if (IsAscii(text))
        return text.size() <= width ? text : text.left(width);
    const QByteArray bytes = Platform::ToCp949(text);
    if (bytes.size() <= width)
        return text;
    // The converter writes each character as one byte or as a lead byte and a trail byte,
    // in order: walk both side by side.
    qsizetype at = 0;
    qsizetype used = 0;
    while (at < text.size() && used < bytes.size()) {
        const bool pair = text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate();
        const qsizetype size = IsLeadByte(static_cast<unsigned char>(bytes.at(used))) && used + 1 < bytes.size() ? 2 : 1;
        if (used + size > width)
            break;
        used += size;
        at += pair ? 2 : 1;
    }
    return text.left(at);
}
