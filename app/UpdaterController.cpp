#include "app/UpdaterController.h"

namespace velmora {

std::string updateIntegrityText(const UpdateIntegrityStatus& status,
                                const std::function<std::string(UpdateCheckDate)>& formatDate) {
    const auto date = [&](const std::optional<UpdateCheckDate>& checked) {
        return checked ? formatDate(*checked) : std::string("never");
    };
    if (const auto* verified = std::get_if<UpdateIntegrityVerified>(&status)) {
        return "Verified \u2022 last checked " + date(verified->lastChecked);
    }
    if (const auto* failed = std::get_if<UpdateIntegrityValidationFailed>(&status)) {
        return "Validation failed \u2022 last checked " + date(failed->lastChecked);
    }
    return "Not yet checked";
}

UpdaterController::UpdaterController(UpdaterPreferences preferences)
    : preferences_(std::move(preferences)), settings_(preferences_.load()) {}

std::shared_ptr<UpdaterController>
UpdaterController::create(const UpdaterRuntime& runtime, UpdaterPreferences preferences,
                          const UpdateFrameworkFactory& framework) {
    auto controller = std::make_shared<UpdaterController>(std::move(preferences));
    controller->versionSummary_ = UpdaterVersionSummary::from(runtime.info);
    if (!runtime.isUpdaterEligible() || !framework) {
        return controller;
    }
    controller->updater_ = framework(controller);
    if (!controller->updater_) {
        return controller;
    }
    controller->updater_->setAutomaticallyChecksForUpdates(
        controller->settings_.automaticChecksEnabled);
    controller->updater_->setAutomaticallyDownloadsUpdates(
        controller->settings_.automaticDownloadsEnabled);
    if (const auto key = runtime.info.string("SUPublicEDKey")) {
        controller->fingerprint_ = shortFingerprint(*key);
    }
    return controller;
}

void UpdaterController::save(const UpdaterSettings& settings) {
    settings_ = settings;
    settings_.automaticDownloadsEnabled =
        settings.automaticChecksEnabled && settings.automaticDownloadsEnabled;
    preferences_.save(settings_);
    if (updater_) {
        updater_->setAutomaticallyChecksForUpdates(settings_.automaticChecksEnabled);
        updater_->setAutomaticallyDownloadsUpdates(settings_.automaticDownloadsEnabled);
    }
    changed();
}

void UpdaterController::checkForUpdates() {
    if (updater_) {
        updater_->checkForUpdates();
    }
}

void UpdaterController::didFinishLoading(int signingValidationStatus) {
    const auto lastChecked = updater_ ? updater_->lastUpdateCheckDate() : std::nullopt;
    switch (signingValidationStatus) {
    case 0:
        integrity_ = UpdateIntegrityVerified{fingerprint_.value_or("skipped"), lastChecked};
        break;
    case 1:
        integrity_ = UpdateIntegrityVerified{fingerprint_.value_or("unknown"), lastChecked};
        break;
    case 2:
        integrity_ = UpdateIntegrityValidationFailed{lastChecked};
        break;
    default:
        integrity_ = UpdateIntegrityNeverChecked{};
        break;
    }
    changed();
}

void UpdaterController::didAbortWithError() {
    if (std::holds_alternative<UpdateIntegrityVerified>(integrity_)) {
        integrity_ = UpdateIntegrityValidationFailed{updater_ ? updater_->lastUpdateCheckDate()
                                                              : std::nullopt};
        changed();
    }
}

void UpdaterController::changed() {
    if (onChange_) {
        onChange_();
    }
}

} // namespace velmora
