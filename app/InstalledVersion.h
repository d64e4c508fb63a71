// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace velmora {

// The version this copy was built as, from "<resources>/Info.json" ({"version": "0.1.0"},
// written at build time). A missing or malformed file reads as "0.0.0".
std::string installedVersion(const std::filesystem::path& resourcesDirectory);

} // namespace velmora
