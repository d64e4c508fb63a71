// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LaunchAtLogin.h"

#include "base/Translate.h"

#include <exception>

namespace velmora {

LaunchAtLogin::LaunchAtLogin(std::optional<XdgAutostartEntry> entry, bool installedCopy,
                             std::function<void()> openStartupApplications)
    : entry_(std::move(entry)), installedCopy_(installedCopy),
      openStartupApplications_(std::move(openStartupApplications)) {
    refresh();
}

void LaunchAtLogin::refresh() {
    if (!entry_) {
        state_ = AutostartState::off;
        statusText_ =
            installedCopy_
                ? translate("LaunchAtLogin",
                            "This install cannot register launch-at-login right now.")
                : translate("LaunchAtLogin",
                            "Launch at login is only available from an installed copy of Velmora.");
        return;
    }
    state_ = entry_->state();
    switch (state_) {
    case AutostartState::off:
        statusText_ = translate("LaunchAtLogin", "Velmora only opens when you launch it.");
        break;
    case AutostartState::on:
        statusText_ =
            translate("LaunchAtLogin", "Velmora will open automatically after you sign in.");
        break;
    case AutostartState::switchedOff:
        //: The desktop has switched the autostart entry off; its startup-applications tool
        //: turns it back on.
        statusText_ = translate(
            "LaunchAtLogin",
            "Velmora is queued for launch at login, but the desktop still needs approval.");
        break;
    }
}

void LaunchAtLogin::setEnabled(bool enabled) {
    errorText_.reset();
    if (!entry_) {
        return;
    }
    try {
        if (enabled) {
            entry_->enable();
        } else {
            entry_->disable();
        }
    } catch (const std::exception& error) {
        errorText_ = error.what();
    }
    refresh();
    if (onChange_) {
        onChange_();
    }
}

void LaunchAtLogin::openStartupApplications() {
    if (openStartupApplications_) {
        openStartupApplications_();
    }
}

} // namespace velmora
