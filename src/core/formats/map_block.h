#pragma once

// Rebuilding the MAP block of a page around a new set of AREA tags. The old block is read as a
// browser reads it: comments and quoted values are opaque, tag ends come from the quote-aware
// tag reader, and every byte that is not an AREA tag (text, comments, other tags, line ends,
// indentation) is kept as it was.

#include <optional>
#include <string>
#include <string_view>

namespace karvex {

// The block oldBlock with its MAP start tag named mapName, its first AREA tag (or the line of
// AREA tags it begins) replaced by areaCode and every later AREA tag dropped (a line that held
// only AREA tags goes with its line end). areaCode's lines, parted by CR LF, are written with
// the block's own line ends (pageLineEnd when the block has none) and the first AREA's
// indentation. What follows "</MAP>" is not part
// of the block; a block that is never closed stays so. Nothing when oldBlock holds no MAP start
// tag outside a comment.
std::optional<std::string> RebuildBlockText(std::string_view oldBlock, const std::string& mapName,
    std::string_view areaCode, std::string_view pageLineEnd = "\r\n");

} // namespace karvex
