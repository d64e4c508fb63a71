// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace velmora {

// Who a signal is meant for: the PID together with what makes it that process.
struct ProcessIdentity {
    pid_t pid = 0;
    uint64_t startTime = 0;
    uid_t uid = 0;
    std::string exe; // raw /proc/PID/exe target at sampling time

    bool operator==(const ProcessIdentity&) const = default;
};

} // namespace velmora
