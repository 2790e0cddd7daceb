// Base64 of the settings files: any text either decodes or fails with the library's error;
// any bytes encode to a text that decodes back to them.
#include "common/base64.h"
#include "fuzzsupport.h"
#include "platform/texception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);
    const QByteArray encoded = Base64Encode(bytes);
    FUZZ_CHECK(encoded.size() % 4 == 0);
    FUZZ_CHECK(Base64Decode(encoded) == bytes);
    try {
        const QByteArray decoded = Base64Decode(bytes);
        FUZZ_CHECK(bytes.size() % 4 == 0);
        FUZZ_CHECK(decoded.size() <= bytes.size() / 4 * 3);
    } catch (const TException &error) {
        FUZZ_CHECK(error.Message() == QString::fromLatin1(Base64FormatError));
    }
    return 0;
}
