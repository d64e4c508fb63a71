// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace velmora {

// What the backend reads, writes and sends, for the trust panel. When the key is present every
// field is required; the initialisers are what a snapshot without it shows.
struct TrustAccessSnapshot {
    std::string processScope = "Same-user running processes only.";
    std::string fileReadScope =
        "Executable paths and workspace markers; never source file contents.";
    std::string fileWriteScope = "Local Velmora data under ~/.local/share/velmora.";
    std::string networkScope =
        "Velmora makes no network calls; sampling, scoring and history stay on this machine.";
    std::vector<std::string> doesNotDo{"No telemetry.", "No analytics.", "No cloud sync.",
                                       "No background uploads."};
    std::string dataDir = "~/.local/share/velmora";
    std::string configPath = "~/.config/velmora/config.json";
    std::string artifactsDir = "~/.local/share/velmora/artifacts";
    std::string logsDir = "~/.local/share/velmora/logs";
    std::vector<std::string> filesReadLastPass{"No process file paths in the latest snapshot."};
    std::vector<std::string> recentNetworkCalls{"No network call was recorded in this snapshot."};

    bool operator==(const TrustAccessSnapshot&) const = default;
};

} // namespace velmora
