// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Environment.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The launch options, read once from the argument list and the environment.
//
// A boolean option is on when its flag occurs anywhere among the arguments or its variable is
// exactly "1". A valued option takes the argument right after the first occurrence of its flag;
// when the flag is absent or last, the variable's value is used (any value, also an empty one).
// "--flag=value" is not recognised.
struct RuntimeOptions {
    bool isSmokeTest = false;
    std::optional<std::string> smokeHome;
    std::optional<std::filesystem::path> smokeLogPath;
    bool demoArtifactBoundary = false;
    bool demoDetailRouting = false;
    bool interactiveMenuSmoke = false;
    bool advancedHistorySmoke = false;
    bool exportFeedbackSmoke = false;
    bool recoveryFeedbackSmoke = false;
    bool restartFeedbackSmoke = false;
    std::optional<std::string> restartFeedbackTargetKey;
    std::optional<int32_t> recoverySmokePID;
    // The memory soak's driver: seconds between its steps through the popover's surfaces.
    std::optional<int32_t> soakDriveSeconds;

    // `arguments` is the whole argument list (the program name may be its first element).
    static RuntimeOptions parse(const std::vector<std::string>& arguments,
                                const Environment& environment);

    // The options of this process, computed on first use from `arguments` and the process
    // environment; later calls return the same value whatever they pass.
    static const RuntimeOptions& current(const std::vector<std::string>& arguments = {});

    // Whether this run shows a demo scenario rather than this machine: it then neither notifies
    // nor takes the session's one copy from the real app.
    bool showsDemo() const { return demoArtifactBoundary || demoDetailRouting; }

    // The extra environment of the backend child: HOME pointed at the self-check home.
    Environment backendEnvironment() const;

    bool operator==(const RuntimeOptions&) const = default;
};

// A signed 32-bit decimal: an optional "+" or "-", then digits only, within range.
std::optional<int32_t> parseProcessID(const std::string& text);

} // namespace velmora
