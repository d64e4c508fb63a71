#pragma once

#include "app/LoginItemControlling.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace velmora {

// The state behind the "Open Velmora at login" control: the controller's status as flags and
// texts, and the register / unregister calls. Main thread only.
class LaunchAtLoginManager {
public:
    // `installedCopy`: whether this executable runs from an installed prefix; it chooses the
    // text shown when the login item cannot be registered.
    LaunchAtLoginManager(std::shared_ptr<LoginItemControlling> controller, bool installedCopy);

    bool isEnabled() const { return isEnabled_; }
    bool isBusy() const { return isBusy_; }
    bool canConfigure() const { return canConfigure_; }
    bool requiresApproval() const { return requiresApproval_; }
    const std::string& statusText() const { return statusText_; }
    const std::optional<std::string>& errorText() const { return errorText_; }

    // Registers or unregisters, then shows the status as the controller now reads it; a
    // failure's description stays in errorText().
    void setEnabled(bool enabled);
    void openSystemSettings();

    // Called after every change of the published fields.
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

    static constexpr const char* initialStatusText =
        "Launch Velmora automatically when you sign in.";

private:
    void apply(LoginItemStatus status);
    void changed();

    std::shared_ptr<LoginItemControlling> controller_;
    bool installedCopy_;
    bool isEnabled_ = false;
    bool isBusy_ = false;
    bool canConfigure_ = false;
    bool requiresApproval_ = false;
    std::string statusText_ = initialStatusText;
    std::optional<std::string> errorText_;
    std::function<void()> onChange_;
};

} // namespace velmora
