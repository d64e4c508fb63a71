// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace velmora::testing {

// The bytes of a file, empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);

// Replaces a file with `text`, creating the folders it needs.
void writeFile(const std::filesystem::path& path, const std::string& text);

} // namespace velmora::testing
