// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/IncidentSnapshot.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Text operations of the incident card. All of them work on UTF-8 code points and never split
// a multi-byte character; bytes that are not valid UTF-8 are kept unchanged.

// `text` trimmed of Unicode whitespace and newlines at both ends.
std::string_view trimmedWhitespace(std::string_view text);

// `text` with every character lower-cased (simple case mapping).
std::string lowercased(std::string_view text);

// `text` with its first character replaced by its upper-case form (which may be longer).
std::string capitalizedFirst(std::string_view text);

// Trims `text`, removes the first of `prefixes` that starts it (ignoring letter case), trims
// again and capitalises the first character; none when nothing is left.
std::optional<std::string> primarySurfaceLine(std::string_view text,
                                              const std::vector<std::string>& prefixes);

// A label with an optional text, the input of compactedUniqueFacts.
struct LabeledText {
    std::string label;
    std::optional<std::string> text;
};

// The pairs in order, skipping absent or blank texts and texts equal (ignoring letter case)
// to one already taken, until `limit` facts are taken; the first fact is the primary one.
std::vector<IncidentPrimarySurfaceFact> compactedUniqueFacts(const std::vector<LabeledText>& pairs,
                                                             int limit);

} // namespace velmora
