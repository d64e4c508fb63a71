// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/families/ProtectedProcesses.h"

#include <functional>
#include <set>
#include <sys/types.h>

namespace velmora {

// The monitor and its ancestors, walked again only when they can have changed. A chain gains
// no process while it runs: an orphan goes to init or to the nearest subreaper above it, which
// is in the chain already. It loses one when an ancestor ends, and the monitor's own parent
// changing shows the common case (velmora-ui ended) at once; an ancestor higher up that ended
// stays in the set until the next walk, where at worst a process that took its PID is kept
// from being signalled for that long.
class AncestorChain {
public:
    static constexpr double kLongestKeptSeconds = 60;
    using ParentOfSelf = std::function<pid_t()>; // nothing: walk on every call

    AncestorChain(const ProtectedProcesses& processes, ParentOfSelf parent);

    const std::set<pid_t>& at(double now);

private:
    const ProtectedProcesses& processes_;
    ParentOfSelf parent_;
    std::set<pid_t> chain_;
    pid_t parentWalked_ = 0;
    double walkedAt_ = 0;
    bool walked_ = false;
};

} // namespace velmora
