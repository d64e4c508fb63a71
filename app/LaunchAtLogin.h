// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/XdgAutostartEntry.h"

#include <functional>
#include <optional>
#include <string>

namespace velmora {

// The state behind the "Open Velmora at login" control: the autostart entry's state as flags
// and texts, and turning it on or off. Without an entry (a build tree, or a self-check, which
// never touches the person's autostart) it cannot be configured. Main thread only.
class LaunchAtLogin {
public:
    // `installedCopy`: whether this executable runs from an installed prefix; it chooses the
    // text shown when there is no entry to configure.
    LaunchAtLogin(std::optional<XdgAutostartEntry> entry, bool installedCopy,
                  std::function<void()> openStartupApplications = {});

    bool isEnabled() const { return state_ != AutostartState::off; }
    bool canConfigure() const { return entry_.has_value(); }
    // The entry is there but the desktop has switched it off.
    bool requiresApproval() const { return state_ == AutostartState::switchedOff; }
    const std::string& statusText() const { return statusText_; }
    const std::optional<std::string>& errorText() const { return errorText_; }

    // Writes or deletes the entry, then shows its state as it now reads; a failure's
    // description stays in errorText() until the next change.
    void setEnabled(bool enabled);
    // The desktop's startup-applications tool, where a switched-off entry is turned back on.
    void openStartupApplications();

    // Called after every change of the published fields.
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

private:
    void refresh();

    std::optional<XdgAutostartEntry> entry_;
    bool installedCopy_;
    std::function<void()> openStartupApplications_;
    AutostartState state_ = AutostartState::off;
    std::string statusText_;
    std::optional<std::string> errorText_;
    std::function<void()> onChange_;
};

} // namespace velmora
