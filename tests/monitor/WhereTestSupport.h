// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/support/ChildProgram.h"
#include "tests/support/PipeLines.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora::testing {

// Why the real heap-tracking tools cannot run here (heaptrack or gdb missing, ptrace limited
// by Yama), or nothing when they can.
std::optional<std::string> heapTrackingUnavailable();

// What Velmora says when the kernel refuses heaptrack's attach to where_leaker `pid`.
std::string refusedAttachMessage(pid_t pid);

// The line of where_leaker.cpp holding `fragment` (1-based; 0 when missing).
int leakerLine(const std::string& fragment);

// A program started by a test, with its standard output on a pipe and `environment` added to
// the test's own; optionally as another user (when the test runs as root). Killed (SIGKILL) and
// reaped at the end.
class Spawned {
public:
    Spawned(const std::string& program, std::vector<std::string> arguments,
            std::vector<std::string> environment = {}, std::optional<uid_t> asUser = {});

    pid_t pid() const { return child_.pid(); }
    // The next line of output, or nothing when it ended or `timeoutSeconds` passed.
    std::optional<std::string> readLine(double timeoutSeconds) {
        return lines_.next(timeoutSeconds);
    }
    // All output until the program ends (or the timeout), and its exit status (-1: none).
    int finish(double timeoutSeconds, std::string& output);

private:
    ChildProgram child_;
    PipeLines lines_{child_.output()};
};

} // namespace velmora::testing
