// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/BackendExecutableResolver.h"

#include "base/ResourcesDirectory.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::BackendExecutableResolver {

bool isExecutableFile(const std::filesystem::path& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::optional<std::filesystem::path> resolve(const char* environmentValue,
                                             const std::filesystem::path& resourcesDirectory) {
    if (environmentValue && *environmentValue) {
        const std::filesystem::path candidate(environmentValue);
        if (isExecutableFile(candidate)) {
            return candidate;
        }
    }
    if (!resourcesDirectory.empty()) {
        const auto candidate = (resourcesDirectory / "Backend" / "velmora").lexically_normal();
        if (isExecutableFile(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> resolve() {
    return resolve(std::getenv("VELMORA_BACKEND_BIN"), resourcesDirectory());
}

} // namespace velmora::BackendExecutableResolver
