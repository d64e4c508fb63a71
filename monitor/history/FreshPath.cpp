// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/FreshPath.h"

namespace velmora {

std::string fileSlug(std::string_view key) {
    std::string slug;
    for (char c : key.substr(0, 48)) {
        bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '.' || c == '_' || c == '-';
        slug += safe ? c : '-';
    }
    if (slug.empty() || slug.front() == '.') {
        slug.insert(slug.begin(), 'x');
    }
    return slug;
}

std::filesystem::path freshJsonPath(const std::filesystem::path& directory,
                                    const std::string& stem) {
    std::filesystem::path path = directory / (stem + ".json");
    for (int n = 2; std::filesystem::exists(path); ++n) {
        path = directory / (stem + "-" + std::to_string(n) + ".json");
    }
    return path;
}

} // namespace velmora
