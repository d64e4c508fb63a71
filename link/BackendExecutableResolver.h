// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>

namespace velmora::BackendExecutableResolver {

// The backend executable: the path in VELMORA_BACKEND_BIN when it names an executable regular
// file, else "Backend/velmora" under the resources directory when that is one, else nothing.
std::optional<std::filesystem::path> resolve();

// The same rule over explicit inputs: `environmentValue` is the value of VELMORA_BACKEND_BIN
// (null when unset).
std::optional<std::filesystem::path> resolve(const char* environmentValue,
                                             const std::filesystem::path& resourcesDirectory);

bool isExecutableFile(const std::filesystem::path& path);

} // namespace velmora::BackendExecutableResolver
