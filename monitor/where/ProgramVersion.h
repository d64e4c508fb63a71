// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace velmora {

// The Debian package that installed a program file and its version ("firefox-esr
// 115.5.0esr-1~deb12u1"), asked of dpkg-query; empty when the file belongs to no package or
// dpkg is not there.
std::string packageVersionOf(const std::string& programPath);

} // namespace velmora
