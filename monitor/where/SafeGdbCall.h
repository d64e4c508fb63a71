// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora {

// What came of gdb commands run in a process from a safe thread.
enum class GdbCallResult {
    done,     // every command ran
    busy,     // no thread could be had outside the allocator and heaptrack; nothing ran
    refused,  // the kernel refused the attach
    timedOut, // gdb overran and was interrupted
    failed,   // gdb said why (see `output`)
};

struct GdbCall {
    GdbCallResult result = GdbCallResult::failed;
    std::string output;
};

// Attaches gdb to `pid`, picks a thread that is neither inside the allocator (malloc and its
// kin) nor inside heaptrack, runs `commands` there in order, and detaches. A call made from a
// thread inside them can wait forever for a lock that very thread holds, or corrupt the
// allocator: heaptrack's own attaching and detaching make their calls from whichever thread gdb
// stopped first. When every thread is inside, the main thread is let run until it has left them
// ("finish" from the outermost such frame; a thread heaptrack started itself never returns).
// `libraries` are loaded for symbols first ("libc.so", "libheaptrack_inject"). A gdb that
// overruns `seconds` is interrupted (SIGINT), so it still detaches and takes its breakpoints
// with it, and killed only when even that does not end it.
GdbCall callFromSafeThread(const std::string& gdb, pid_t pid,
                           const std::vector<std::string>& libraries,
                           const std::vector<std::string>& commands, double seconds);

} // namespace velmora
