// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/ResourcesDirectory.h"

#include <cstdlib>
#include <system_error>

namespace velmora {

std::filesystem::path resourcesDirectory() {
    if (const char* override = std::getenv("VELMORA_RESOURCES_DIR"); override && *override) {
        return std::filesystem::path(override).lexically_normal();
    }
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    return (executable.parent_path() / ".." / "share" / "velmora").lexically_normal();
}

} // namespace velmora
