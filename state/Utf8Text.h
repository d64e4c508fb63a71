#pragma once

#include <string_view>

namespace velmora::utf8 {

// True when `text` is well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing above U+10FFFF.
bool isValid(std::string_view text);

// One decoded code point and the number of bytes it took. A byte that does not start a
// well-formed sequence decodes as itself with length 1, so callers always make progress.
struct CodePoint {
    char32_t value;
    std::size_t length;
};
CodePoint decodeAt(std::string_view text, std::size_t offset);

// Line breaks: line feed, carriage return, next line, line separator, paragraph separator.
bool isLineBreak(char32_t c);
// Tab and the space separators (U+0020, U+00A0, U+1680, U+2000 to U+200A, U+202F, U+205F, U+3000).
bool isSpace(char32_t c);
// isSpace, the line breaks, and the other control white space (vertical tab, form feed).
bool isWhiteSpaceOrNewline(char32_t c);

// `text` without the leading and trailing code points for which `drop` is true.
std::string_view trim(std::string_view text, bool (*drop)(char32_t));

} // namespace velmora::utf8
