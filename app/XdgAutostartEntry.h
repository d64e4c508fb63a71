// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/Environment.h"

#include <filesystem>
#include <string>

namespace velmora {

// What the desktop makes of the autostart entry: none there, there and started at sign-in, or
// there but switched off by the desktop (Hidden=true or X-GNOME-Autostart-enabled=false).
enum class AutostartState { off, on, switchedOff };

// Launch at login as an XDG autostart entry, "<config home>/autostart/velmora.desktop".
// Enabling writes the entry atomically; disabling deletes it. enable() and disable() throw
// std::exception with a description for the person when they fail.
class XdgAutostartEntry {
public:
    XdgAutostartEntry(std::filesystem::path path, std::filesystem::path executable);

    // "$XDG_CONFIG_HOME/autostart/velmora.desktop", or under "$HOME/.config" when the variable
    // is unset, empty or not absolute.
    static std::filesystem::path defaultPath(const Environment& environment);

    AutostartState state() const;
    void enable();
    void disable();

    const std::filesystem::path& path() const { return path_; }

    // The entry's text for `executable`.
    static std::string entryText(const std::filesystem::path& executable);

    // Whether an entry's text says the desktop has it switched off.
    static bool isSwitchedOff(const std::string& entryText);

private:
    std::filesystem::path path_;
    std::filesystem::path executable_;
};

// A path quoted for the Exec key of a desktop entry.
std::string quotedExecArgument(const std::string& argument);

} // namespace velmora
