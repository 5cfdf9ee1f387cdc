#pragma once

// Path arithmetic for picture references: relative references between folders, resolving
// them back to full paths, and splitting off file names.

#include <string>

namespace karvex {

// Windows paths ignore case and use "\"; POSIX paths keep their case and use "/".
enum class PathStyle { Windows, Posix };

#ifdef _WIN32
inline constexpr PathStyle kNativePathStyle = PathStyle::Windows;
#else
inline constexpr PathStyle kNativePathStyle = PathStyle::Posix;
#endif

std::string PathSeparator(PathStyle style = kNativePathStyle);

// A reference from one folder to another with "/" separators and a trailing "/", or "" when
// both are the same folder. Windows folders compare case-blind and come out lower-cased.
std::string MakeRelativePath(
    const std::string& fromDir, const std::string& toDir, PathStyle style = kNativePathStyle);

// Raised when a reference climbs above the root of its base folder.
inline constexpr int kErrTooManySteps = 50001;

struct ResolvedPath
{
    std::string Path;
    int ErrorNumber = 0; // 0, or kErrTooManySteps
    std::string ErrorSource;
    std::string ErrorDescription;

    bool Ok() const { return ErrorNumber == 0; }
};

// The full path of relPath taken relative to baseDir (the current folder when empty).
ResolvedPath ResolvePath(
    const std::string& relPath, const std::string& baseDir, const std::string& separator);

// The part after the last "/" when there is one, else after the last "\", else the whole.
std::string GetFileName(const std::string& path);

// The text up to the last separator (with it when keepSeparator); the whole text when the
// separator does not occur, or occurs only as the first character and is not kept.
std::string LeftOfLast(const std::string& text, const std::string& separator, bool keepSeparator);

} // namespace karvex
