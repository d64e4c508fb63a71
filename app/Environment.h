#pragma once

#include "base/Environment.h"

#include <filesystem>
#include <string>

namespace velmora {

// An XDG base directory: the value of `variable` ("XDG_CONFIG_HOME", "XDG_STATE_HOME") when it
// is an absolute path, else `underHome` (".config", ".local/state") in $HOME.
inline std::filesystem::path xdgBaseDirectory(const Environment& environment,
                                              const std::string& variable,
                                              const std::filesystem::path& underHome) {
    const auto set = environment.find(variable);
    if (set != environment.end() && std::filesystem::path(set->second).is_absolute()) {
        return set->second;
    }
    const auto home = environment.find("HOME");
    return std::filesystem::path(home == environment.end() ? "" : home->second) / underHome;
}

} // namespace velmora
