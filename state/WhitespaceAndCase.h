// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace velmora::utf8text {

// Text helpers of the state layer, over the one UTF-8 decoder (base/Utf8.h).

// Line breaks: line feed, carriage return, next line, line separator, paragraph separator.
bool isLineBreak(char32_t c);
// Tab and the space separators (U+0020, U+00A0, U+1680, U+2000 to U+200A, U+202F, U+205F,
// U+3000).
bool isSpace(char32_t c);
// Any Unicode white space, line breaks included.
bool isWhitespaceOrNewline(char32_t c);

// `text` without the leading and trailing code points for which `drop` is true.
std::string_view trim(std::string_view text, bool (*drop)(char32_t));

// `text` with every character upper-cased (simple case mapping); bytes that are not UTF-8
// are kept.
std::string upperCased(std::string_view text);

} // namespace velmora::utf8text
