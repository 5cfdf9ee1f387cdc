#include "core/formats/image_size.h"

#include "core/util/file_io.h"

namespace karvex {

namespace {

// Header fields are read as 16-bit numbers; sizes up to 65535 come out whole.
std::int32_t BigEndian16(std::string_view bytes, std::size_t at)
{
    if (at + 1 >= bytes.size())
        return 0;
    return (static_cast<unsigned char>(bytes[at]) << 8) | static_cast<unsigned char>(bytes[at + 1]);
}

std::int32_t LittleEndian16(std::string_view bytes, std::size_t at)
{
    if (at + 1 >= bytes.size())
        return 0;
    return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}

unsigned char ByteAt(std::string_view bytes, std::size_t at)
{
    return at < bytes.size() ? static_cast<unsigned char>(bytes[at]) : 0;
}

ImageSize ProbeJpeg(std::string_view bytes)
{
    std::size_t pos = 2;
    while (pos < bytes.size()) {
        // Find a 255 followed by a byte that is not 255: that byte is the marker code.
        while (
            pos + 1 < bytes.size() && !(ByteAt(bytes, pos) == 255 && ByteAt(bytes, pos + 1) != 255))
            ++pos;
        if (pos + 1 >= bytes.size())
            break;
        const std::size_t code = pos + 1;
        if (code + 8 > bytes.size())
            break;
        const unsigned char marker = ByteAt(bytes, code);
        if (marker >= 192 && marker <= 195)
            return { BigEndian16(bytes, code + 6), BigEndian16(bytes, code + 4) };
        pos = code + static_cast<std::size_t>(BigEndian16(bytes, code + 1)) + 1;
    }
    return {};
}

} // namespace

ImageSize ProbeImageSize(std::string_view bytes)
{
    if (bytes.size() < 4)
        return {};
    if (ByteAt(bytes, 0) == 137 && bytes.substr(1, 3) == "PNG")
        return { BigEndian16(bytes, 18), BigEndian16(bytes, 22) };
    if (bytes.substr(0, 4) == "GIF8")
        return { LittleEndian16(bytes, 6), LittleEndian16(bytes, 8) };
    if (ByteAt(bytes, 0) == 255 && ByteAt(bytes, 1) == 216 && ByteAt(bytes, 2) == 255)
        return ProbeJpeg(bytes);
    return {};
}

std::int64_t GetImageSize(const std::string& path, Prompt* prompt)
{
    return PackImageSize(ProbeImageSize(ApiReadFile(path, prompt)));
}

} // namespace karvex
