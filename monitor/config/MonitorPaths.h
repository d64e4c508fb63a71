// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <sys/types.h>

namespace velmora {

// The XDG locations: configuration in $XDG_CONFIG_HOME/velmora (default ~/.config/velmora),
// data in $XDG_DATA_HOME/velmora (default ~/.local/share/velmora) with artifacts/, reports/
// and logs/.
struct MonitorPaths {
    std::string home;
    std::string configDir;
    std::string configFile;
    std::string dataDir;
    std::string artifactsDir;
    std::string reportsDir;
    std::string logsDir;
    // The self-check targets a test names in $VELMORA_SELF_CHECK_TARGETS; empty otherwise, so
    // that nothing in the person's configuration is read for them.
    std::string smokeTargetsFile;

    static MonitorPaths fromEnvironment();
    // The path with the home directory written as "~".
    std::string display(const std::string& path) const;
};

// mkdir -p; true when the directory exists afterwards.
bool makeDirectories(const std::string& path);
// Creates the folder of `path` (mkdir -p) and replaces the file atomically (base/AtomicFile.h)
// with `mode`; false with `error` set when either fails.
bool saveFile(const std::string& path, const std::string& content, std::string& error,
              mode_t mode = 0600);

} // namespace velmora
