#include "core/formats/file_io.h"

#include "core/util/prompt.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace karvex {

namespace fs = std::filesystem;

std::string ApiReadFile(const std::string& path, Prompt* prompt)
{
    std::error_code ec;
    if (path.empty() || !fs::is_regular_file(fs::path(path), ec))
        return {};
    const auto size = fs::file_size(fs::path(path), ec);
    if (ec || size == 0)
        return {};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got != bytes.size()) {
        bytes.resize(got);
        if (prompt)
            prompt->Tell("Error reading file ...", "");
    }
    return bytes;
}

bool FileExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(fs::path(path), ec);
}

bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    const fs::path target(path);
    fs::path temp = target;
    temp += ".kvxtmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(temp, ignored);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return false;
    }
    return true;
}

} // namespace karvex
