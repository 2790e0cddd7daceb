#pragma once

// Raw value bytes of the pool records, shared by the pool's files. Internal to the library.

#include "grid/mempool.h"

#include <cstdint>
#include <cstring>

namespace TwPoolBytes {

/// The presence byte of a record holding a value (0 = null).
constexpr std::uint8_t Present = 255;

template<typename T>
T Load(const std::uint8_t *bytes)
{
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

template<typename T>
void Store(std::uint8_t *bytes, T value)
{
    std::memcpy(bytes, &value, sizeof value);
}

/// Calls packed(T{}) with the type T whose bytes hold a value of `type` in a record (double
/// for floats, dates and times), or other() for a type held outside the record bytes
/// (texts, characters and pictures).
template<typename Packed, typename Other>
auto WithPackedType(TwDataType type, Packed &&packed, Other &&other)
{
    switch (type) {
    case wdtBool:
    case wdtByte:
        return packed(quint8{});
    case wdtShort:
        return packed(qint8{});
    case wdtSmall:
        return packed(qint16{});
    case wdtWord:
        return packed(quint16{});
    case wdtLong:
        return packed(qint32{});
    case wdtFloat:
    case wdtDate:
    case wdtTime:
    case wdtDateTime:
        return packed(double{});
    default:
        return other();
    }
}

inline int Sign(double value)
{
    return value > 0 ? 1 : value < 0 ? -1 : 0;
}

inline int Sign(int value)
{
    return value > 0 ? 1 : value < 0 ? -1 : 0;
}

} // namespace TwPoolBytes
