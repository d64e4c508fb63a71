// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/WhitespaceAndCase.h"

#include "base/Utf8.h"

namespace velmora::utf8text {

bool isLineBreak(char32_t c) {
    return c == U'\n' || c == U'\r' || c == 0x85 || c == 0x2028 || c == 0x2029;
}

bool isSpace(char32_t c) {
    return utf8::isWhitespace(c) && !isLineBreak(c) && c != U'\v' && c != U'\f';
}

bool isWhitespaceOrNewline(char32_t c) {
    return utf8::isWhitespace(c);
}

std::string_view trim(std::string_view text, bool (*drop)(char32_t)) {
    std::size_t begin = text.size();
    std::size_t end = 0;
    for (std::size_t offset = 0; offset < text.size();) {
        const utf8::Unit unit = utf8::decodeAt(text, offset);
        if (!drop(unit.codePoint)) {
            if (begin == text.size()) {
                begin = offset;
            }
            end = offset + unit.length;
        }
        offset += unit.length;
    }
    return begin < end ? text.substr(begin, end - begin) : std::string_view{};
}

std::string upperCased(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t offset = 0; offset < text.size();) {
        const utf8::Unit unit = utf8::decodeAt(text, offset);
        if (unit.codePoint == utf8::kInvalid) {
            out.push_back(text[offset]);
        } else {
            utf8::append(out, utf8::toUpper(unit.codePoint));
        }
        offset += unit.length;
    }
    return out;
}

} // namespace velmora::utf8text
