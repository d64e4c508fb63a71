// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace velmora {

// A random (version 4) UUID in canonical form: 36 characters, lower-case hexadecimal,
// 8-4-4-4-12, e.g. "1b4e28ba-2fa1-4d2b-883f-0016d3cca427".
std::string newUuidV4();

} // namespace velmora
