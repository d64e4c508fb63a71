// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velmora {

// Process names, command lines and paths are bytes any process can set, not text. This turns
// them into display text that is always valid UTF-8: invalid sequences become U+FFFD, control
// characters become a space, and the result is cut (on a character boundary) at maxBytes, with
// an ellipsis when something was cut.
std::string displayText(std::string_view bytes, std::size_t maxBytes = 4096);

} // namespace velmora
