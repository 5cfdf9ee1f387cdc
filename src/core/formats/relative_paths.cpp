#include "core/formats/relative_paths.h"

#include "core/util/strings.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace karvex {

std::string PathSeparator(PathStyle style) { return style == PathStyle::Windows ? "\\" : "/"; }

std::string MakeRelativePath(const std::string& fromDir, const std::string& toDir, PathStyle style)
{
    const bool windows = style == PathStyle::Windows;
    const std::string separator = PathSeparator(style);
    auto from = Split(windows ? ToLower(fromDir) : fromDir, separator);
    auto to = Split(windows ? ToLower(toDir) : toDir, separator);
    const std::size_t fromCount = from.size();
    const std::size_t length = std::max(from.size(), to.size());
    from.resize(length);
    to.resize(length);

    std::size_t firstDifference = 0;
    while (firstDifference < length && from[firstDifference] == to[firstDifference])
        ++firstDifference;
    if (firstDifference == length)
        return {};

    std::string result;
    // One step up for each of the from-folder's own parts past the common start.
    for (std::size_t i = firstDifference; i < fromCount; ++i)
        result += "../";
    for (std::size_t i = firstDifference; i < length; ++i) {
        if (!to[i].empty())
            result += to[i] + "/";
    }
    return result;
}

ResolvedPath ResolvePath(
    const std::string& relPath, const std::string& baseDir, const std::string& separator)
{
    std::string base = baseDir;
    if (base.empty()) {
        std::error_code ec;
        base = std::filesystem::current_path(ec).string();
    }
    if (!separator.empty() && base.size() >= separator.size()
        && base.compare(base.size() - separator.size(), separator.size(), separator) == 0)
        base.erase(base.size() - separator.size());

    // A network path loses its leading double separator while it is taken apart.
    std::string prefix;
    const std::string doubleSeparator = separator + separator;
    if (!separator.empty() && base.rfind(doubleSeparator, 0) == 0) {
        prefix = doubleSeparator;
        base.erase(0, doubleSeparator.size());
    }

    ResolvedPath result;
    const auto relParts = Split(relPath, separator);
    if (relParts.front() != "..") {
        result.Path = prefix + base + separator + relPath;
        return result;
    }

    std::size_t stepsUp = 0;
    std::vector<std::string> rest;
    for (const auto& part : relParts) {
        if (part == "..")
            ++stepsUp;
        else
            rest.push_back(part);
    }

    const auto baseParts = Split(base, separator);
    const std::size_t lastIndex = baseParts.size() - 1;
    if (stepsUp > lastIndex) {
        result.ErrorNumber = kErrTooManySteps;
        result.ErrorSource = "modRelativePaths.ResolvePath";
        result.ErrorDescription = "rpErrTooManySteps";
        return result;
    }
    std::string path = prefix;
    for (std::size_t i = 0; i <= lastIndex - stepsUp; ++i)
        path += baseParts[i] + separator;
    result.Path = path + Join(rest, separator);
    return result;
}

std::string GetFileName(const std::string& path)
{
    auto pos = path.rfind('/');
    if (pos == std::string::npos)
        pos = path.rfind('\\');
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string LeftOfLast(const std::string& text, const std::string& separator, bool keepSeparator)
{
    const auto pos = separator.empty() ? std::string::npos : text.rfind(separator);
    if (pos == std::string::npos || (pos == 0 && !keepSeparator))
        return text;
    return text.substr(0, keepSeparator ? pos + separator.size() : pos);
}

} // namespace karvex
