#pragma once

#include "monitor/history/Outcome.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <variant>

namespace velmora {

// Writes `content` to `path` so that the file is either absent, its old self or complete:
// a temporary file beside it is written, fsynced and renamed over it, then the directory is
// fsynced. The file's modification time is set to `mtimeMs` (the clock retention ages by).
// Returns the size written.
Outcome<uint64_t> writeFileAtomically(const std::filesystem::path& path, std::string_view content,
                                      int64_t mtimeMs);

// The modification time of a file in epoch milliseconds, or nothing if it cannot be read.
std::optional<int64_t> modificationTimeMs(const std::filesystem::path& path);

// Sets the modification time (and the access time) of a file.
bool setModificationTimeMs(const std::filesystem::path& path, int64_t mtimeMs);

} // namespace velmora
