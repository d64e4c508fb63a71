// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Environment.h"

#include <set>
#include <string_view>

extern char** environ;

namespace velmora {
namespace {

struct Entry {
    std::string_view name; // the whole entry when it has no "="
    std::string_view text; // "NAME=value"
    bool hasValue = false;
};

// The entries of `block` in order, each name's first definition only.
std::vector<Entry> firstDefinitions(const char* const* block) {
    std::vector<Entry> entries;
    std::set<std::string_view> seen;
    for (auto entry = block; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        const auto equals = text.find('=');
        const std::string_view name = text.substr(0, equals);
        if (seen.insert(name).second) {
            entries.push_back({name, text, equals != std::string_view::npos});
        }
    }
    return entries;
}

} // namespace

Environment processEnvironment() {
    Environment environment;
    for (const Entry& entry : firstDefinitions(environ)) {
        if (entry.hasValue) {
            environment.emplace(entry.name, entry.text.substr(entry.name.size() + 1));
        }
    }
    return environment;
}

std::vector<std::string> mergedEnvironment(const char* const* base, const Environment& overrides) {
    std::vector<std::string> result;
    std::set<std::string, std::less<>> written;
    for (const Entry& entry : firstDefinitions(base)) {
        written.emplace(entry.name);
        if (const auto it = overrides.find(std::string(entry.name)); it != overrides.end()) {
            result.push_back(it->first + "=" + it->second);
        } else {
            result.emplace_back(entry.text);
        }
    }
    for (const auto& [name, value] : overrides) {
        if (!written.contains(name)) {
            result.push_back(name + "=" + value);
        }
    }
    return result;
}

std::vector<std::string> childEnvironment(const Environment& overrides) {
    return mergedEnvironment(environ, overrides);
}

std::filesystem::path xdgBaseDirectory(const Environment& environment, const std::string& variable,
                                       const std::filesystem::path& underHome) {
    const auto set = environment.find(variable);
    if (set != environment.end() && std::filesystem::path(set->second).is_absolute()) {
        return set->second;
    }
    const auto home = environment.find("HOME");
    return std::filesystem::path(home == environment.end() ? "" : home->second) / underHome;
}

} // namespace velmora
