#include "state/Utf8Text.h"

namespace velmora::utf8 {

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

struct LeadByte {
    std::size_t length;
    char32_t bits;
    char32_t minimum;
};

// What a lead byte announces; length 0 for a byte that cannot start a sequence.
LeadByte classify(unsigned char lead) {
    if (lead < 0x80) {
        return {1, lead, 0};
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return {2, char32_t(lead & 0x1F), 0x80};
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return {3, char32_t(lead & 0x0F), 0x800};
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return {4, char32_t(lead & 0x07), 0x10000};
    }
    return {0, lead, 0};
}

// The well-formed sequence at `offset`, or length 0.
CodePoint decodeStrict(std::string_view text, std::size_t offset) {
    const auto lead = static_cast<unsigned char>(text[offset]);
    const LeadByte shape = classify(lead);
    if (shape.length == 0 || offset + shape.length > text.size()) {
        return {lead, 0};
    }
    char32_t value = shape.bits;
    for (std::size_t i = 1; i < shape.length; ++i) {
        const auto byte = static_cast<unsigned char>(text[offset + i]);
        if (!isContinuation(byte)) {
            return {lead, 0};
        }
        value = (value << 6) | (byte & 0x3F);
    }
    if (value < shape.minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return {lead, 0};
    }
    return {value, shape.length};
}

} // namespace

bool isValid(std::string_view text) {
    for (std::size_t offset = 0; offset < text.size();) {
        const CodePoint point = decodeStrict(text, offset);
        if (point.length == 0) {
            return false;
        }
        offset += point.length;
    }
    return true;
}

CodePoint decodeAt(std::string_view text, std::size_t offset) {
    const CodePoint point = decodeStrict(text, offset);
    return point.length == 0 ? CodePoint{point.value, 1} : point;
}

bool isLineBreak(char32_t c) {
    return c == U'\n' || c == U'\r' || c == 0x85 || c == 0x2028 || c == 0x2029;
}

bool isSpace(char32_t c) {
    return c == U'\t' || c == U' ' || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == 0x202F || c == 0x205F || c == 0x3000;
}

bool isWhiteSpaceOrNewline(char32_t c) {
    return isSpace(c) || isLineBreak(c) || c == U'\v' || c == U'\f';
}

std::string_view trim(std::string_view text, bool (*drop)(char32_t)) {
    std::size_t begin = text.size();
    std::size_t end = 0;
    for (std::size_t offset = 0; offset < text.size();) {
        const CodePoint point = decodeAt(text, offset);
        if (!drop(point.value)) {
            if (begin == text.size()) {
                begin = offset;
            }
            end = offset + point.length;
        }
        offset += point.length;
    }
    return begin < end ? text.substr(begin, end - begin) : std::string_view{};
}

} // namespace velmora::utf8
