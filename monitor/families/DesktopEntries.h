// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// Looks up the Name= of an application's desktop entry in the XDG data directories
// ($XDG_DATA_HOME, $XDG_DATA_DIRS and the flatpak exports), cached per app id.
class DesktopEntries {
public:
    DesktopEntries(); // directories from the environment
    explicit DesktopEntries(std::vector<std::string> dataDirs);

    std::optional<std::string> nameFor(const std::string& appId);

private:
    std::vector<std::string> dataDirs_;
    std::map<std::string, std::optional<std::string>> cache_;
};

} // namespace velmora
