#pragma once

// The pixel size of a PNG, GIF or JPEG picture read from its header, without decoding it.

#include <cstdint>
#include <string>
#include <string_view>

namespace karvex {

class Prompt;

struct ImageSize
{
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

// Width in the low 32 bits, height in the high 32 bits; 0 for what is not recognised. A read
// that fails part way tells prompt "Error reading file ..." and probes what was read.
std::int64_t GetImageSize(const std::string& path, Prompt* prompt = nullptr);

// The same probe over bytes already in memory; 0 by 0 for anything unrecognised.
ImageSize ProbeImageSize(std::string_view bytes);

inline std::int64_t PackImageSize(ImageSize size)
{
    return static_cast<std::int64_t>(
        static_cast<std::uint64_t>(static_cast<std::uint32_t>(size.Width))
        | (static_cast<std::uint64_t>(static_cast<std::uint32_t>(size.Height)) << 32));
}

inline ImageSize UnpackImageSize(std::int64_t packed)
{
    const auto bits = static_cast<std::uint64_t>(packed);
    return { static_cast<std::int32_t>(bits & 0xFFFFFFFFu), static_cast<std::int32_t>(bits >> 32) };
}

} // namespace karvex
