// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace velmora {

// Whether `executable` runs from an installed prefix (<prefix>/bin/velmora-ui beside
// <prefix>/share/velmora) rather than from a build tree. The build tree mirrors the install
// layout, so what tells them apart is the CMakeCache.txt at the root of a build tree.
bool isInstalledPrefix(const std::filesystem::path& executable);

// This process's executable, from /proc/self/exe (empty when it cannot be read).
std::filesystem::path currentExecutable();

} // namespace velmora
