#include "app/LaunchAtLoginManager.h"

#include <exception>

namespace velmora {

LoginItemStatus loginItemStatusFromCode(int code) {
    if (code < 0 || code > 3) {
        return LoginItemStatus::notFound;
    }
    return static_cast<LoginItemStatus>(code);
}

LoginItemUnsupported::LoginItemUnsupported()
    : std::runtime_error("Launch at login is not supported by this copy of Velmora.") {}

LaunchAtLoginManager::LaunchAtLoginManager(std::shared_ptr<LoginItemControlling> controller,
                                           bool installedCopy)
    : controller_(std::move(controller)), installedCopy_(installedCopy) {
    apply(controller_->status());
}

void LaunchAtLoginManager::apply(LoginItemStatus status) {
    errorText_.reset();
    isEnabled_ = status == LoginItemStatus::enabled || status == LoginItemStatus::requiresApproval;
    canConfigure_ = status != LoginItemStatus::notFound;
    requiresApproval_ = status == LoginItemStatus::requiresApproval;
    switch (status) {
    case LoginItemStatus::notRegistered:
        statusText_ = "Velmora only opens when you launch it.";
        break;
    case LoginItemStatus::enabled:
        statusText_ = "Velmora will open automatically after you sign in.";
        break;
    case LoginItemStatus::requiresApproval:
        statusText_ =
            "Velmora is queued for launch at login, but the desktop still needs approval.";
        break;
    case LoginItemStatus::notFound:
        statusText_ = installedCopy_
                          ? "This install cannot register launch-at-login right now."
                          : "Launch at login is only available from an installed copy of Velmora.";
        break;
    }
}

void LaunchAtLoginManager::setEnabled(bool enabled) {
    if (isBusy_) {
        return;
    }
    isBusy_ = true;
    errorText_.reset();
    changed();
    std::optional<std::string> failure;
    try {
        if (enabled) {
            controller_->registerItem();
        } else {
            controller_->unregisterItem();
        }
    } catch (const std::exception& error) {
        failure = error.what();
    } catch (...) {
        failure = "The login item could not be changed.";
    }
    apply(controller_->status());
    if (failure) {
        errorText_ = failure;
    }
    isBusy_ = false;
    changed();
}

void LaunchAtLoginManager::openSystemSettings() {
    controller_->openSystemSettings();
}

void LaunchAtLoginManager::changed() {
    if (onChange_) {
        onChange_();
    }
}

} // namespace velmora
