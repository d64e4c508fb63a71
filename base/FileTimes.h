// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace velmora {

// The modification time of a file in epoch milliseconds, or nothing if it cannot be read.
std::optional<int64_t> modificationTimeMs(const std::filesystem::path& path);

// Sets the modification time (and the access time) of a file, by path or open descriptor.
bool setModificationTimeMs(const std::filesystem::path& path, int64_t mtimeMs);
bool setModificationTimeMs(int fd, int64_t mtimeMs);

} // namespace velmora
