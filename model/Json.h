// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <nlohmann/json.hpp>

namespace velmora {

using Json = nlohmann::json;

} // namespace velmora
