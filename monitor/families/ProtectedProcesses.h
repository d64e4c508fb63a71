// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/proc/ProcRoot.h"

#include <set>
#include <string_view>

namespace velmora {

// The processes Velmora never signals: itself, its parent (velmora-ui), their ancestors,
// PID 1 and the desktop's own session processes (compositor, shell, session manager, D-Bus,
// audio server).
class ProtectedProcesses {
public:
    ProtectedProcesses(const ProcRoot& root, pid_t self);

    // Ancestors are walked again on every call: a reparented monitor stays protected.
    bool isProtected(pid_t pid, std::string_view exeBaseName, std::string_view comm) const;
    // The same against an ancestor set computed once (for many checks in one pass).
    static bool isProtected(pid_t pid, std::string_view exeBaseName, std::string_view comm,
                            const std::set<pid_t>& selfAndAncestors);
    std::set<pid_t> selfAndAncestors() const;
    static bool isSessionProcess(std::string_view name);
    // A display or audio server: it maps its clients' shared buffers, which are theirs.
    static bool mapsClientBuffers(std::string_view exeBaseName, std::string_view comm);

private:
    const ProcRoot& root_;
    pid_t self_;
};

} // namespace velmora
