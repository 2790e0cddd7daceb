#include "platform/cp949.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace Platform {
namespace {

bool IsAscii(QByteArrayView bytes)
{
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) >= 0x80)
            return false;
    }
    return true;
}

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

bool IsTrailByte(unsigned char byte)
{
    return (byte >= 0x41 && byte <= 0x5A) || (byte >= 0x61 && byte <= 0x7A) || (byte >= 0x81 && byte <= 0xFE);
}

// Without Microsoft's table every text of the suite's files would be damaged: better
// no program at all than one that rewrites its settings with question marks.
template<typename Converter>
void RequireValid(const Converter &converter)
{
    if (!converter.isValid())
        qFatal("Qt offers no \"%s\" converter (a Qt built without ICU): code page 949 text cannot be handled", Cp949Codec);
}

// Opening a converter costs far more than a short conversion, so each thread keeps one
// of each. A converter that reported an error is dropped: its error flag never clears
// and it may keep a dangling lead byte for the next call.
struct Converters
{
    std::optional<QStringEncoder> encoder;
    std::optional<QStringDecoder> decoder;

    QStringEncoder &Encoder()
    {
        if (!encoder) {
            encoder.emplace(Cp949Codec, QStringConverter::Flag::Stateless);
            RequireValid(*encoder);
        }
        return *encoder;
    }

    QStringDecoder &Decoder()
    {
        if (!decoder) {
            decoder.emplace(Cp949Codec, QStringConverter::Flag::Stateless);
            RequireValid(*decoder);
        }
        return *decoder;
    }
};

Converters &ThreadConverters()
{
    thread_local Converters converters;
    return converters;
}

// One character's bytes (one or two), or U+FFFD when the table has no mapping for them.
QString DecodeUnit(QByteArrayView unit)
{
    Converters &converters = ThreadConverters();
    QString text = converters.Decoder().decode(unit);
    if (converters.Decoder().hasError() || text.isEmpty()) {
        converters.decoder.reset();
        return QString(QChar(QChar::ReplacementCharacter));
    }
    return text;
}

// The slow path after the converter reported a fault somewhere in `bytes`: walk the
// characters one by one so that only the faulty ones become U+FFFD.
QString DecodeCharacterByCharacter(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const auto byte = static_cast<unsigned char>(bytes[pos]);
        if (byte < 0x80) {
            text += QLatin1Char(static_cast<char>(byte));
            ++pos;
            continue;
        }
        if (IsLeadByte(byte) && pos + 1 < bytes.size() && IsTrailByte(static_cast<unsigned char>(bytes[pos + 1]))) {
            text += DecodeUnit(bytes.sliced(pos, 2));
            pos += 2;
            continue;
        }
        // 80 and FF are single-byte characters of the table; a lead byte without a valid
        // trail byte is a fault, and the byte after it starts the next character.
        text += IsLeadByte(byte) ? QString(QChar(QChar::ReplacementCharacter)) : DecodeUnit(bytes.sliced(pos, 1));
        ++pos;
    }
    return text;
}

// One character (a surrogate pair counts as one), or nothing when the table lacks it.
std::optional<QByteArray> EncodeUnit(QStringView unit)
{
    Converters &converters = ThreadConverters();
    QByteArray bytes = converters.Encoder().encode(unit);
    if (converters.Encoder().hasError() || bytes.isEmpty()) {
        converters.encoder.reset();
        return std::nullopt;
    }
    return bytes;
}

QByteArray EncodeCharacterByCharacter(const QString &text, bool &exact)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    qsizetype pos = 0;
    while (pos < text.size()) {
        const bool pair = text.at(pos).isHighSurrogate() && pos + 1 < text.size() && text.at(pos + 1).isLowSurrogate();
        const qsizetype length = pair ? 2 : 1;
        if (const auto unit = EncodeUnit(QStringView(text).sliced(pos, length))) {
            bytes += *unit;
        } else {
            bytes += '?';
            exact = false;
        }
        pos += length;
    }
    return bytes;
}

} // namespace

QByteArray ToCp949(const QString &text, bool *exact)
{
    if (exact)
        *exact = true;
    if (IsAscii(text))
        return text.toLatin1();
    Converters &converters = ThreadConverters();
    QByteArray bytes = converters.Encoder().encode(text);
    if (!converters.Encoder().hasError())
        return bytes;
    converters.encoder.reset();
    bool mapped = true;
    bytes = EncodeCharacterByCharacter(text, mapped);
    if (exact)
        *exact = mapped;
    return bytes;
}

QString FromCp949(QByteArrayView bytes)
{
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes);
    Converters &converters = ThreadConverters();
    QString text = converters.Decoder().decode(bytes);
    if (!converters.Decoder().hasError())
        return text;
    converters.decoder.reset();
    return DecodeCharacterByCharacter(bytes);
}

qsizetype Cp949Fit(QByteArrayView bytes, qsizetype limit)
{
    if (limit >= bytes.size())
        return bytes.size();
    qsizetype pos = 0;
    while (pos < limit) {
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        const qsizetype width = (IsLeadByte(lead) && pos + 1 < bytes.size()) ? 2 : 1;
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
