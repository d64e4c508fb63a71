// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace velmora {

// The directory of the application's resources: `<dir of /proc/self/exe>/../share/velmora`,
// lexically normalised. The environment variable VELMORA_RESOURCES_DIR, when set and not
// empty, names another directory instead (tests and relocated runs use it).
std::filesystem::path resourcesDirectory();

} // namespace velmora
