// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/InstallLocation.h"

#include <system_error>

namespace velmora {

bool isInstalledPrefix(const std::filesystem::path& executable) {
    const auto bin = executable.parent_path();
    if (bin.filename() != "bin") {
        return false;
    }
    const auto prefix = bin.parent_path();
    std::error_code error;
    return std::filesystem::is_directory(prefix / "share" / "velmora", error) &&
           !std::filesystem::exists(prefix / "CMakeCache.txt", error);
}

std::filesystem::path currentExecutable() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}

} // namespace velmora
