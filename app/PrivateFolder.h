// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace velmora {

// Makes sure `path` is a folder only this user can reach: creates it (mode 0700) when nothing
// is there, and accepts what is there only when it is a folder, not a link, owned by this user
// and of mode 0700, so that a folder someone else prepared in a shared place (/tmp) is never
// trusted. Nothing when the folder can be used; otherwise why not, as one line naming it.
std::optional<std::string> privateFolderProblem(const std::filesystem::path& path);

} // namespace velmora
