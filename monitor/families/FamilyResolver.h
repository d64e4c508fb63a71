// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/families/DesktopEntries.h"
#include "monitor/proc/ProcessTable.h"

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

struct FamilyIdentity {
    std::string key;
    std::string title;     // display text, valid UTF-8
    std::string appId;     // from the systemd user-session cgroup, when there is one
    std::string workspace; // for interpreters and build tools
};

// The application id of a systemd unit in /proc/PID/cgroup: "app-<launcher>-<id>-<n>.scope",
// "app-<id>@<n>.service", "<unit>.service" inside the user manager, flatpak scopes.
std::optional<std::string> appIdFromCgroup(std::string_view cgroupText);
// python, node, java, ruby, cargo, go and their versioned names.
bool isInterpreter(std::string_view exeBaseName);
// The nearest ancestor directory of cwd holding .git, Cargo.toml, package.json,
// pyproject.toml or go.mod.
std::optional<std::string> findWorkspace(const std::string& cwd);
// Base name of an executable path, without a " (deleted)" suffix.
std::string executableBaseName(std::string_view exePath);

// Groups processes by the application that owns them: first the user-session cgroup's app id,
// else the topmost same-user ancestor with the same executable; interpreters get their
// workspace in the key.
class FamilyResolver {
public:
    FamilyResolver(ProcRoot& root, DesktopEntries& desktopEntries);

    // cgroupText: the process's /proc/PID/cgroup, read once at its discovery ("" when unread).
    FamilyIdentity resolve(const ProcessRecord& record, const ProcessTable& table,
                           std::string_view cgroupText);

private:
    ProcRoot& root_;
    DesktopEntries& desktopEntries_;
};

} // namespace velmora
