#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// The bytes with every invalid UTF-8 sequence (stray continuation bytes, overlongs,
// surrogates, values above U+10FFFF, truncated sequences) replaced by U+FFFD; everything
// else, line breaks included, is kept. Files under /proc are bytes, not text.
std::string withValidUtf8(std::string_view bytes);

// The length of the well-formed UTF-8 sequence that starts at bytes[at], or 0 when none does.
std::size_t utf8SequenceLength(std::string_view bytes, std::size_t at);

} // namespace velmora
