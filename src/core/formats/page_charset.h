#pragma once

// The character set of a page, found as browsers find it before they read the page: a byte-order
// mark, else a META tag near the page's start.

#include <cstddef>
#include <string>
#include <string_view>

namespace karvex {

// How far into a page a META tag declaring the charset is looked for: a tag that starts within
// this many bytes is read.
inline constexpr std::size_t kCharsetScanBytes = 1024;

// The charset a page declares (a name CharsetForLabel gives): a UTF-8 or UTF-16 byte-order mark,
// else the first <meta charset="..."> or <meta http-equiv="Content-Type" content="...;
// charset=..."> outside comments whose label is known. A META that declares UTF-16 declares
// UTF-8, as in browsers: a page whose META can be read is not UTF-16. "" when the page declares
// nothing this program converts.
std::string PageCharset(std::string_view bytes);

// The charset of the text the readers work on (a UTF-16 page has become UTF-8 by then): what the
// text declares, else UTF-8 when it is valid UTF-8, else windows-1252.
std::string TextCharset(std::string_view text);

} // namespace karvex
