// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Utf8.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

namespace velmora::utf8 {

namespace {

// The C.UTF-8 locale for towupper_l/towlower_l, created once; null when the system lacks it,
// in which case only ASCII letters change case.
locale_t utf8Locale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return locale;
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

} // namespace

Unit decodeAt(std::string_view text, std::size_t position) {
    const auto lead = static_cast<unsigned char>(text[position]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, codePoint = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, codePoint = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, codePoint = lead & 0x07, minimum = 0x10000;
    } else {
        return {kInvalid, 1};
    }
    if (position + length > text.size()) {
        return {kInvalid, 1};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[position + i]);
        if (!isContinuation(byte)) {
            return {kInvalid, 1};
        }
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return {kInvalid, 1};
    }
    return {codePoint, length};
}

bool isValid(std::string_view text) {
    for (std::size_t offset = 0; offset < text.size();) {
        const Unit unit = decodeAt(text, offset);
        if (unit.codePoint == kInvalid) {
            return false;
        }
        offset += unit.length;
    }
    return true;
}

std::string withInvalidReplaced(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (std::size_t offset = 0; offset < bytes.size();) {
        const Unit unit = decodeAt(bytes, offset);
        if (unit.codePoint == kInvalid) {
            text += kReplacement;
        } else {
            text.append(bytes.substr(offset, unit.length));
        }
        offset += unit.length;
    }
    return text;
}

std::size_t boundaryAtOrBefore(std::string_view text, std::size_t maxBytes) {
    std::size_t offset = 0;
    while (offset < text.size()) {
        const std::size_t next = offset + decodeAt(text, offset).length;
        if (next > maxBytes) {
            break;
        }
        offset = next;
    }
    return offset;
}

void append(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t toLower(char32_t cp) {
    if (cp < 0x80) {
        return (cp >= 'A' && cp <= 'Z') ? cp + ('a' - 'A') : cp;
    }
    const locale_t locale = utf8Locale();
    if (cp == kInvalid || locale == locale_t{}) {
        return cp;
    }
    return static_cast<char32_t>(towlower_l(static_cast<wint_t>(cp), locale));
}

char32_t toUpper(char32_t cp) {
    if (cp < 0x80) {
        return (cp >= 'a' && cp <= 'z') ? cp - ('a' - 'A') : cp;
    }
    const locale_t locale = utf8Locale();
    if (cp == kInvalid || locale == locale_t{}) {
        return cp;
    }
    return static_cast<char32_t>(towupper_l(static_cast<wint_t>(cp), locale));
}

bool isWhitespace(char32_t cp) {
    // The Unicode White_Space property: spaces, tabs, line and paragraph separators.
    switch (cp) {
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x20:
    case 0x85:
    case 0xA0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
        return true;
    default:
        return cp >= 0x2000 && cp <= 0x200A;
    }
}

} // namespace velmora::utf8
