// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace velmora {

// `key` reduced to letters, digits, '.', '_' and '-' (others become '-'), at most 48 bytes:
// safe inside a file name whatever the family key holds.
std::string fileSlug(std::string_view key);

// `directory`/`stem`.json, or `stem`-2.json, -3, ... when that name is taken.
std::filesystem::path freshJsonPath(const std::filesystem::path& directory,
                                    const std::string& stem);

} // namespace velmora
