// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SurfaceText.h"

#include "base/Utf8.h"

#include <unordered_set>

namespace velmora {

namespace {

// Upper-case forms that are longer than one character (full case mapping); every other
// character maps one to one.
std::string_view multiCharacterUpper(char32_t cp) {
    switch (cp) {
    case U'\u00DF':
        return "SS"; // ß
    case U'\uFB00':
        return "FF"; // ﬀ
    case U'\uFB01':
        return "FI"; // ﬁ
    case U'\uFB02':
        return "FL"; // ﬂ
    case U'\uFB03':
        return "FFI"; // ﬃ
    case U'\uFB04':
        return "FFL"; // ﬄ
    case U'\u0149':
        return "\u02BCN"; // ŉ
    default:
        return {};
    }
}

// The byte length of the first `count` characters of `text` when they equal those of
// `prefix` ignoring letter case; none otherwise.
std::optional<std::size_t> caseInsensitivePrefixLength(std::string_view text,
                                                       std::string_view prefix) {
    std::size_t t = 0;
    std::size_t p = 0;
    while (p < prefix.size()) {
        if (t >= text.size()) {
            return std::nullopt;
        }
        const auto a = utf8::decodeAt(text, t);
        const auto b = utf8::decodeAt(prefix, p);
        const bool same = (a.codePoint == utf8::kInvalid || b.codePoint == utf8::kInvalid)
                              ? text.substr(t, a.length) == prefix.substr(p, b.length)
                              : utf8::toLower(a.codePoint) == utf8::toLower(b.codePoint);
        if (!same) {
            return std::nullopt;
        }
        t += a.length;
        p += b.length;
    }
    return t;
}

bool isBlank(std::string_view text) {
    return trimmedWhitespace(text).empty();
}

} // namespace

std::string_view trimmedWhitespace(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        const auto unit = utf8::decodeAt(text, begin);
        if (!utf8::isWhitespace(unit.codePoint)) {
            break;
        }
        begin += unit.length;
    }
    // Walk forward and remember where the last non-whitespace character ends, so a trailing
    // multi-byte character is never cut.
    std::size_t end = begin;
    for (std::size_t at = begin; at < text.size();) {
        const auto unit = utf8::decodeAt(text, at);
        at += unit.length;
        if (!utf8::isWhitespace(unit.codePoint)) {
            end = at;
        }
    }
    return text.substr(begin, end - begin);
}

std::string lowercased(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto unit = utf8::decodeAt(text, at);
        if (unit.codePoint == utf8::kInvalid) {
            out.append(text.substr(at, unit.length));
        } else {
            utf8::append(out, utf8::toLower(unit.codePoint));
        }
        at += unit.length;
    }
    return out;
}

std::string capitalizedFirst(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const auto first = utf8::decodeAt(text, 0);
    std::string out;
    out.reserve(text.size() + 2);
    if (first.codePoint == utf8::kInvalid) {
        out.append(text.substr(0, first.length));
    } else if (const auto longer = multiCharacterUpper(first.codePoint); !longer.empty()) {
        out.append(longer);
    } else {
        utf8::append(out, utf8::toUpper(first.codePoint));
    }
    out.append(text.substr(first.length));
    return out;
}

std::optional<std::string> primarySurfaceLine(std::string_view text,
                                              const std::vector<std::string>& prefixes) {
    std::string_view rest = trimmedWhitespace(text);
    for (const auto& prefix : prefixes) {
        if (const auto length = caseInsensitivePrefixLength(rest, prefix)) {
            rest = trimmedWhitespace(rest.substr(*length));
            break;
        }
    }
    if (rest.empty()) {
        return std::nullopt;
    }
    return capitalizedFirst(rest);
}

std::vector<IncidentPrimarySurfaceFact> compactedUniqueFacts(const std::vector<LabeledText>& pairs,
                                                             int limit) {
    std::vector<IncidentPrimarySurfaceFact> facts;
    std::unordered_set<std::string> seen;
    for (const auto& pair : pairs) {
        if (static_cast<int>(facts.size()) >= limit) {
            break;
        }
        if (!pair.text || isBlank(*pair.text)) {
            continue;
        }
        if (!seen.insert(lowercased(*pair.text)).second) {
            continue;
        }
        facts.push_back({pair.label, *pair.text, facts.empty()});
    }
    return facts;
}

} // namespace velmora
