#include "monitor/Utf8Text.h"

#include <cstdint>

namespace velmora {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

// Length of the well-formed sequence starting at bytes[i], or 0 when it is not one.
std::size_t sequenceLength(std::string_view bytes, std::size_t i) {
    auto at = [&](std::size_t k) { return static_cast<uint8_t>(bytes[k]); };
    uint8_t lead = at(i);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    uint8_t low = 0x80;
    uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > bytes.size()) {
        return 0;
    }
    if (at(i + 1) < low || at(i + 1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

bool isControl(std::string_view bytes, std::size_t i, std::size_t length) {
    auto lead = static_cast<uint8_t>(bytes[i]);
    if (length == 1) {
        return lead < 0x20 || lead == 0x7F;
    }
    // C1 controls U+0080..U+009F are encoded as C2 80..C2 9F.
    return length == 2 && lead == 0xC2 && static_cast<uint8_t>(bytes[i + 1]) < 0xA0;
}

} // namespace

std::string displayText(std::string_view bytes, std::size_t maxBytes) {
    std::string out;
    out.reserve(bytes.size() < maxBytes ? bytes.size() : maxBytes);
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t length = sequenceLength(bytes, i);
        std::string_view piece;
        if (length == 0) {
            piece = kReplacement;
            length = 1;
        } else if (isControl(bytes, i, length)) {
            piece = " ";
        } else {
            piece = bytes.substr(i, length);
        }
        if (out.size() + piece.size() > maxBytes) {
            while (!out.empty() && out.size() + kEllipsis.size() > maxBytes) {
                // Drop whole characters: continuation bytes first, then the lead byte.
                while (!out.empty() && (static_cast<uint8_t>(out.back()) & 0xC0) == 0x80) {
                    out.pop_back();
                }
                if (!out.empty()) {
                    out.pop_back();
                }
            }
            if (maxBytes >= kEllipsis.size()) {
                out.append(kEllipsis);
            }
            return out;
        }
        out.append(piece);
        i += length;
    }
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t length = sequenceLength(bytes, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

} // namespace velmora
