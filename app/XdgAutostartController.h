#pragma once

#include "app/Environment.h"
#include "app/LoginItemControlling.h"

#include <filesystem>
#include <functional>
#include <string>

namespace velmora {

// The login item as an XDG autostart entry, "<config home>/autostart/velmora.desktop".
// Enabling writes the entry atomically; disabling deletes it. An entry the desktop has switched
// off (Hidden=true or X-GNOME-Autostart-enabled=false) reads as "requires approval"; a copy that
// does not run from an installed prefix reads as "not found" and cannot register.
class XdgAutostartController final : public LoginItemControlling {
public:
    XdgAutostartController(std::filesystem::path entryPath, std::filesystem::path executable,
                           bool installedCopy, std::function<void()> openStartupApplications);

    // "$XDG_CONFIG_HOME/autostart/velmora.desktop", or under "$HOME/.config" when the variable
    // is unset, empty or not absolute.
    static std::filesystem::path defaultEntryPath(const Environment& environment);

    LoginItemStatus status() const override;
    void registerItem() override;
    void unregisterItem() override;
    void openSystemSettings() override;

    const std::filesystem::path& entryPath() const { return entryPath_; }

    // The entry's text for `executable`.
    static std::string entryText(const std::filesystem::path& executable);

    // Whether an entry's text says the desktop has it switched off.
    static bool isSwitchedOff(const std::string& entryText);

private:
    std::filesystem::path entryPath_;
    std::filesystem::path executable_;
    bool installedCopy_;
    std::function<void()> openStartupApplications_;
};

// A path quoted for the Exec key of a desktop entry.
std::string quotedExecArgument(const std::string& argument);

} // namespace velmora
