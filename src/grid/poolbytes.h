#pragma once

// Raw value bytes of the pool records, shared by the pool's files. Internal to the library.

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

inline int Sign(double value)
{
    return value > 0 ? 1 : value < 0 ? -1 : 0;
}

inline int Sign(int value)
{
    return value > 0 ? 1 : value < 0 ? -1 : 0;
}

} // namespace TwPoolBytes
