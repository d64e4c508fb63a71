#pragma once

#include <map>
#include <string>
#include <vector>

namespace velmora {

// The environment of a child: every "KEY=value" entry of `base` (a null-terminated array like
// `environ`), with the keys of `overrides` replaced or added. A key present in both takes the
// value of `overrides`; the order of the inherited entries is kept.
std::vector<std::string> mergedEnvironment(const char* const* base,
                                           const std::map<std::string, std::string>& overrides);

// The environment of this process, `environ`, as entries.
std::vector<std::string> currentEnvironment();

} // namespace velmora
