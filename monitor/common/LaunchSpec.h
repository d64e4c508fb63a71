// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace velmora {

// How to start a process again as it ran: its program file, its command line (argv[0] as it
// had it), environment and working directory.
struct LaunchSpec {
    std::string program;
    std::vector<std::string> command;
    std::vector<std::string> environment;
    std::string directory;
};

} // namespace velmora
