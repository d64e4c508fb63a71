#include "monitor/common/Utf8Text.h"

#include "monitor/history/ValidUtf8.h"

#include <cstdint>

namespace velmora {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

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
        std::size_t length = utf8SequenceLength(bytes, i);
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
        std::size_t length = utf8SequenceLength(bytes, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

} // namespace velmora
