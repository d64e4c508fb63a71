#include "backend/ProcessEnvironment.h"

#include <set>
#include <string_view>

extern char** environ;

namespace velmora {

std::vector<std::string> mergedEnvironment(const char* const* base,
                                           const std::map<std::string, std::string>& overrides) {
    std::vector<std::string> result;
    std::set<std::string, std::less<>> written;
    for (auto entry = base; entry && *entry; ++entry) {
        const std::string_view text(*entry);
        const auto equals = text.find('=');
        const std::string_view key = text.substr(0, equals);
        if (!written.insert(std::string(key)).second) {
            continue; // a duplicated key: the first one is the one getenv() sees
        }
        if (const auto it = overrides.find(std::string(key)); it != overrides.end()) {
            result.push_back(it->first + "=" + it->second);
        } else {
            result.emplace_back(text);
        }
    }
    for (const auto& [key, value] : overrides) {
        if (!written.count(key)) {
            result.push_back(key + "=" + value);
        }
    }
    return result;
}

std::vector<std::string> currentEnvironment() {
    std::vector<std::string> result;
    for (char** entry = environ; entry && *entry; ++entry) {
        result.emplace_back(*entry);
    }
    return result;
}

} // namespace velmora
