#pragma once

#include <nlohmann/json.hpp>

namespace velmora {

using Json = nlohmann::json;

} // namespace velmora
