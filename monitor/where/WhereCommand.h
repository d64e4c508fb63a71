// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace velmora {

// `velmora where PID [--seconds N] [--top N] [--json]`: attaches heaptrack to PID for N
// seconds (60 by default, at most 600), then prints the allocation sites that grew meanwhile,
// the top 5 by default, with their stacks; `--json` prints the same as one JSON object.
// `velmora where --launch [options] -- PROGRAM ARGS...` starts the program under heaptrack's
// preload instead (no ptrace needed), then asks it to quit and starts it again untracked.
// `--progress` adds one JSON line per phase before the result on standard output (the monitor
// follows a capture this way); `--artifacts-dir DIR` puts the recording there instead of the
// evidence folder. Ctrl-C (SIGINT) or SIGTERM ends tracking early and still reports what was
// recorded. Returns the exit status: 0 with a report, 1 when nothing could be recorded, 2 for
// a usage error.
int runWhereCommand(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err);

// The usage lines of `velmora where`, for `velmora --help`.
const char* whereUsage();

} // namespace velmora
