#pragma once

#include <map>
#include <string>

namespace velmora {

// Environment variables by name.
using Environment = std::map<std::string, std::string>;

// The environment of this process.
Environment processEnvironment();

} // namespace velmora
