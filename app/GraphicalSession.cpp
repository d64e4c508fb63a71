// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/GraphicalSession.h"

#include <algorithm>

namespace velmora {

bool hasGraphicalSession(const Environment& environment,
                         const std::vector<std::string>& arguments) {
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const auto found = environment.find(variable);
        if (found != environment.end() && !found->second.empty()) {
            return true;
        }
    }
    // Qt reads "-platform NAME" and "--platform NAME" from the arguments.
    const auto platform = std::find_if(arguments.begin(), arguments.end(), [](const auto& arg) {
        return arg == "-platform" || arg == "--platform";
    });
    return platform != arguments.end() && std::next(platform) != arguments.end();
}

} // namespace velmora
