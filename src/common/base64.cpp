#include "common/base64.h"

#include "platform/cp949.h"
#include "platform/texception.h"

#include <array>

namespace {

constexpr char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<unsigned char, 256> MakeDecodeTable()
{
    std::array<unsigned char, 256> table{};
    for (auto &value : table)
        value = 63; // anything outside the alphabet decodes like '/'
    for (unsigned char i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(Alphabet[i])] = i;
    return table;
}

constexpr auto DecodeTable = MakeDecodeTable();

unsigned Sextet(char c)
{
    return DecodeTable[static_cast<unsigned char>(c)];
}

} // namespace

QByteArray Base64Decode(const QByteArray &text)
{
    if (text.size() % 4 != 0)
        throw TException(QString::fromLatin1(Base64FormatError));
    QByteArray out;
    out.reserve(text.size() / 4 * 3);
    for (qsizetype i = 0; i < text.size(); i += 4) {
        const unsigned group = Sextet(text[i]) << 18 | Sextet(text[i + 1]) << 12 | Sextet(text[i + 2]) << 6
            | Sextet(text[i + 3]);
        int bytes = 3;
        if (i + 4 == text.size()) {
            if (text[i + 2] == '=' && text[i + 3] == '=')
                bytes = 1;
            else if (text[i + 3] == '=')
                bytes = 2;
        }
        out.append(static_cast<char>(group >> 16 & 0xFF));
        if (bytes > 1)
            out.append(static_cast<char>(group >> 8 & 0xFF));
        if (bytes > 2)
            out.append(static_cast<char>(group & 0xFF));
    }
    return out;
}

QByteArray Base64Encode(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (qsizetype i = 0; i < bytes.size(); i += 3) {
        const qsizetype left = bytes.size() - i;
        unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
        if (left > 1)
            group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (left > 2)
            group |= static_cast<unsigned char>(bytes[i + 2]);
        out.append(Alphabet[group >> 18 & 63]);
        out.append(Alphabet[group >> 12 & 63]);
        out.append(left > 1 ? Alphabet[group >> 6 & 63] : '=');
        out.append(left > 2 ? Alphabet[group & 63] : '=');
    }
    return out;
}

QString DecodeBase64Text(const QString &stored)
{
    return Platform::FromCp949(Base64Decode(stored.toLatin1()));
}

QString EncodeBase64Text(const QString &text)
{
    bool exact = false;
    const QByteArray bytes = Platform::ToCp949(text, &exact);
    if (!exact)
        throw TException(QStringLiteral("Base64: the text has characters that code page 949 cannot hold"));
    return QString::fromLatin1(Base64Encode(bytes));
}
