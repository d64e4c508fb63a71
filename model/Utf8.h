#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::utf8 {

// One step of a UTF-8 walk: the code point starting at a position and its length in bytes.
// A byte that does not start a well-formed sequence is a unit of its own (length 1) whose
// code point is kInvalid; it is copied unchanged by every operation below.
struct Unit {
    char32_t codePoint;
    std::size_t length;
};

inline constexpr char32_t kInvalid = 0xFFFFFFFF;

Unit decodeAt(std::string_view text, std::size_t position);
void append(std::string& out, char32_t codePoint);

// Simple (one code point to one code point) case mapping; ASCII without the locale.
char32_t toLower(char32_t codePoint);
char32_t toUpper(char32_t codePoint);

bool isWhitespace(char32_t codePoint);

} // namespace velmora::utf8
