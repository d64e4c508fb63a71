// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace velmora {

// Environment variables by name.
using Environment = std::map<std::string, std::string>;

// The one reader of an environment block (a null-terminated array of "NAME=value" entries like
// `environ`): where a name is defined twice, the first definition wins, as getenv() sees it.

// The variables of this process. An entry without "=" defines nothing.
Environment processEnvironment();

// The environment of a child as entries: every entry of `base` in its order (one per name),
// with the names of `overrides` replaced or, when `base` lacks them, added at the end.
std::vector<std::string> mergedEnvironment(const char* const* base, const Environment& overrides);

// mergedEnvironment of this process's environment.
std::vector<std::string> childEnvironment(const Environment& overrides);

// An XDG base directory: the value of `variable` ("XDG_CONFIG_HOME", "XDG_STATE_HOME") when it
// is an absolute path, else `underHome` (".config", ".local/state") in $HOME.
std::filesystem::path xdgBaseDirectory(const Environment& environment, const std::string& variable,
                                       const std::filesystem::path& underHome);

} // namespace velmora
