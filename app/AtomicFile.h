#pragma once

#include <filesystem>
#include <string_view>

namespace velmora {

// Replaces the content of `path` with `content` so that a reader sees the old file or the new
// one, never a part: the bytes go to "<path>.new", are flushed to disk, renamed over `path`,
// and the directory is flushed too. Throws std::system_error naming the step that failed; the
// temporary file is removed then.
void writeFileAtomically(const std::filesystem::path& path, std::string_view content);

} // namespace velmora
