// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/live/SamplingTuning.h"

#include <string>
#include <vector>

namespace velmora {

// The options of "velmora serve".
struct ServeOptions {
    std::string listen = "127.0.0.1:9787"; // ADDRESS:PORT, an IPv6 address in brackets
    std::string textfile;                  // empty: no textfile
    double intervalSeconds = 10;
    bool allUsers = false;
    std::string webConfigFile;  // empty: plain HTTP, no authentication
    bool showHomePaths = false; // other users' home folders in labels, not "~"
};

// What the command line asked for: the options, the usage text, or one line saying what is
// wrong with it.
struct ServeArguments {
    ServeOptions options;
    bool help = false;
    std::string error; // empty when the arguments are sound
};

// Reads the arguments after "serve": --listen ADDRESS:PORT, --textfile PATH, --interval
// SECONDS, --all-users, --web.config.file PATH, --show-home-paths, --help; "--name=value"
// works as well as "--name value".
ServeArguments parseServeArguments(const std::vector<std::string>& args);

// Whether this process may read every user's processes: root, or CAP_SYS_PTRACE in its
// effective set (read from `statusText`, the text of /proc/self/status).
bool mayWatchAllUsers(unsigned effectiveUid, const std::string& statusText);

// The settings' sampling as the headless monitor uses it: ticking every `intervalSeconds`, and
// reading the swap, CPU time and descriptors of quiet processes (thousands of idle ones on a
// server) once a minute.
SamplingTuning headlessSampling(const SamplingTuning& settings, double intervalSeconds);

extern const char* const kServeUsage;

} // namespace velmora
