#pragma once

// The bytes of a GIF picture of a given size: its header is all the size probe reads.

#include <string>

namespace karvex::test {

inline std::string GifBytes(int width, int height)
{
    std::string bytes = "GIF89a";
    bytes += static_cast<char>(width & 0xFF);
    bytes += static_cast<char>(width >> 8);
    bytes += static_cast<char>(height & 0xFF);
    bytes += static_cast<char>(height >> 8);
    return bytes + std::string(20, '\0');
}

} // namespace karvex::test
