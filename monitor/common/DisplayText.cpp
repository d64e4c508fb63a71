// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/common/DisplayText.h"

#include "base/Utf8.h"

namespace velmora {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

// C0 controls, DEL and the C1 controls U+0080 to U+009F.
bool isControl(char32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

} // namespace

std::string displayText(std::string_view bytes, std::size_t maxBytes) {
    std::string out;
    out.reserve(bytes.size() < maxBytes ? bytes.size() : maxBytes);
    for (std::size_t i = 0; i < bytes.size();) {
        const utf8::Unit unit = utf8::decodeAt(bytes, i);
        const std::string_view piece = unit.codePoint == utf8::kInvalid ? kReplacement
                                       : isControl(unit.codePoint)      ? std::string_view(" ")
                                                                   : bytes.substr(i, unit.length);
        if (out.size() + piece.size() > maxBytes) {
            // Whole characters only, and room for the ellipsis when there is any.
            const bool marked = maxBytes >= kEllipsis.size();
            out.resize(utf8::boundaryAtOrBefore(out, marked ? maxBytes - kEllipsis.size() : 0));
            if (marked) {
                out.append(kEllipsis);
            }
            return out;
        }
        out.append(piece);
        i += unit.length;
    }
    return out;
}

} // namespace velmora
