// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace velmora {

// Why a file was not written, as display text naming the step and the file ("Could not
// create /home/me/x.json.tmp-Q3xk9LmP0aZr: No such file or directory"), and the errno behind it.
struct FileError {
    std::string message;
    int code = 0;
};

// Replaces the content of `path` with `content` so that a reader sees the old file or the new
// one, never a part: the bytes go to a new file "<path>.tmp-<random>" beside it, are flushed to
// disk, renamed over `path`, and the folder is flushed too (where the file system allows it; the
// rename stands either way). The temporary file is created exclusively under a name nobody can
// guess, so a link or file planted in a shared folder is never followed, truncated or written. The
// folder must exist. The new file has `permissions` (before the umask) and, when given, the
// modification time `modificationTimeMs` in epoch milliseconds (the clock it is aged by). Nothing
// when written; on failure what failed, and the temporary file is gone.
[[nodiscard]] std::optional<FileError>
writeFileAtomically(const std::filesystem::path& path, std::string_view content,
                    mode_t permissions = 0600,
                    std::optional<int64_t> modificationTimeMs = std::nullopt);

} // namespace velmora
