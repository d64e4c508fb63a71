// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <sys/types.h>

namespace velmora {

// The self-check targets of the file a test names in $VELMORA_SELF_CHECK_TARGETS:
// {"recovery": 1234, "restart": 5678} (a PID, or an object {"pid": 1234}).
struct SmokeTargetPids {
    std::optional<pid_t> recovery;
    std::optional<pid_t> restart;
    bool operator==(const SmokeTargetPids&) const = default;
};

SmokeTargetPids parseSmokeTargets(const std::string& text);

// Re-reads the file when its modification time changes.
class SmokeTargets {
public:
    explicit SmokeTargets(std::string path);
    const SmokeTargetPids& current();

private:
    std::string path_;
    timespec modified_{};
    bool present_ = false;
    SmokeTargetPids pids_;
};

inline constexpr const char* kRecoverySmokeKey = "velmora.recovery.smoke.target";
inline constexpr const char* kRestartSmokeKey = "velmora.restart.smoke.target";

} // namespace velmora
