// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora {

struct LaunchResult {
    bool ok = false;
    pid_t pid = 0;     // the detached process
    std::string error; // display text when not ok
};

// Starts a program detached from Velmora (its own session, stdio on /dev/null, reparented
// away so it never becomes our zombie) and reports whether the exec itself succeeded.
// A program without a slash is searched in PATH. An empty environment inherits ours.
LaunchResult launchDetached(const std::string& program, const std::vector<std::string>& arguments,
                            const std::vector<std::string>& environment = {},
                            const std::string& workingDirectory = {});

// Runs a program with `input` on its standard input and waits for it (up to timeoutSeconds);
// true when it exited with status 0, or when it took all the input and is still running (a
// clipboard tool stays to serve the selection; it is reaped later, never left a zombie).
bool runWithInput(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& input, double timeoutSeconds);

// Reaps the tools runWithInput left running that have ended since.
void reapLingeringChildren();

} // namespace velmora
