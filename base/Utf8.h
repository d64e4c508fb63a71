// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::utf8 {

// The one UTF-8 decoder: every walk over text, every validity check and every cut is made of
// decodeAt. Well-formed means no stray continuation bytes, no overlong forms, no surrogates,
// nothing above U+10FFFF and no sequence cut short.

// One step of a UTF-8 walk: the code point starting at a position and its length in bytes.
// A byte that does not start a well-formed sequence is a unit of its own (length 1) whose
// code point is kInvalid; the case mappings below keep it unchanged.
struct Unit {
    char32_t codePoint;
    std::size_t length;
};

inline constexpr char32_t kInvalid = 0xFFFFFFFF;

// Precondition: position < text.size().
Unit decodeAt(std::string_view text, std::size_t position);
void append(std::string& out, char32_t codePoint);

// True when `text` is well-formed UTF-8.
bool isValid(std::string_view text);

// The bytes with every byte that starts no well-formed sequence replaced by U+FFFD; everything
// else, line breaks included, is kept. Files under /proc are bytes, not text.
std::string withInvalidReplaced(std::string_view bytes);

// The length of the longest beginning of `text` that is at most `maxBytes` long and ends on a
// code point boundary (an invalid byte counts as a code point of its own).
std::size_t boundaryAtOrBefore(std::string_view text, std::size_t maxBytes);

// Simple (one code point to one code point) case mapping; ASCII without the locale.
char32_t toLower(char32_t codePoint);
char32_t toUpper(char32_t codePoint);

bool isWhitespace(char32_t codePoint);

} // namespace velmora::utf8
