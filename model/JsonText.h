// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Decoded.h"
#include "model/Json.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// Deepest nesting of arrays and objects that parseJsonText accepts.
inline constexpr std::size_t kMaxJsonDepth = 256;

// Parses one JSON document. Malformed text, invalid UTF-8, numbers beyond double range (1e400)
// and nesting deeper than kMaxJsonDepth give a DecodeError with an empty path; never throws.
Decoded<Json> parseJsonText(std::string_view text);

// Compact JSON text of `json`. Invalid UTF-8 inside a string is replaced by U+FFFD rather than
// throwing.
std::string dumpJsonText(const Json& json);

} // namespace velmora
