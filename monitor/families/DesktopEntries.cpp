// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/families/DesktopEntries.h"

#include "monitor/common/DisplayText.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace velmora {
namespace {

std::vector<std::string> splitPaths(const char* value) {
    std::vector<std::string> out;
    std::stringstream stream(value == nullptr ? "" : value);
    std::string part;
    while (std::getline(stream, part, ':')) {
        if (!part.empty()) {
            out.push_back(part);
        }
    }
    return out;
}

std::optional<std::string> readName(const std::string& path) {
    std::ifstream file(path);
    if (!file) {
        return std::nullopt;
    }
    std::string line;
    bool inEntry = false;
    while (std::getline(file, line)) {
        if (!line.empty() && line[0] == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (inEntry && line.rfind("Name=", 0) == 0) {
            std::string name = displayText(line.substr(5), 200);
            if (!name.empty()) {
                return name;
            }
        }
    }
    return std::nullopt;
}

} // namespace

DesktopEntries::DesktopEntries() {
    const char* home = std::getenv("HOME");
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && *dataHome != '\0') {
        dataDirs_.push_back(dataHome);
    } else if (home != nullptr) {
        dataDirs_.push_back(std::string(home) + "/.local/share");
    }
    auto system = splitPaths(std::getenv("XDG_DATA_DIRS"));
    if (system.empty()) {
        system = {"/usr/local/share", "/usr/share"};
    }
    dataDirs_.insert(dataDirs_.end(), system.begin(), system.end());
    if (home != nullptr) {
        dataDirs_.push_back(std::string(home) + "/.local/share/flatpak/exports/share");
    }
    dataDirs_.push_back("/var/lib/flatpak/exports/share");
}

DesktopEntries::DesktopEntries(std::vector<std::string> dataDirs)
    : dataDirs_(std::move(dataDirs)) {}

std::optional<std::string> DesktopEntries::nameFor(const std::string& appId) {
    if (appId.empty() || appId.find('/') != std::string::npos || appId[0] == '.') {
        return std::nullopt;
    }
    auto cached = cache_.find(appId);
    if (cached != cache_.end()) {
        return cached->second;
    }
    std::optional<std::string> name;
    for (const auto& dir : dataDirs_) {
        name = readName(dir + "/applications/" + appId + ".desktop");
        if (name) {
            break;
        }
    }
    if (cache_.size() > 512) {
        cache_.clear();
    }
    cache_.emplace(appId, name);
    return name;
}

} // namespace velmora
