// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// The action recorded when the kernel's out-of-memory killer ended one of the family's
// processes; its outcome is the kill's message ("Ended by the out-of-memory killer at 14:02 with
// 3.2 GB."). Not a user action: it never counts as the family's last action.
inline constexpr const char* kOutOfMemoryKillAction = "oom_kill";

// An action on a family ("restart", "recover", "confirm_force_quit", "oom_kill", ...) and its
// outcome, as the action's feedback described it ("Restarted; the new process is running.").
struct ActionRecord {
    std::string familyKey;
    std::string familyTitle;
    std::string action;
    std::string outcome;
    bool succeeded = false;
    int64_t atMs = 0;

    bool operator==(const ActionRecord&) const = default;
};

} // namespace velmora
