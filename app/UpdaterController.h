#pragma once

#include "app/UpdateFramework.h"
#include "app/UpdaterEnvironment.h"
#include "app/UpdaterPreferences.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace velmora {

struct UpdateIntegrityVerified {
    std::string keyFingerprint;
    std::optional<UpdateCheckDate> lastChecked;
    bool operator==(const UpdateIntegrityVerified&) const = default;
};
struct UpdateIntegrityValidationFailed {
    std::optional<UpdateCheckDate> lastChecked;
    bool operator==(const UpdateIntegrityValidationFailed&) const = default;
};
struct UpdateIntegrityNeverChecked {
    bool operator==(const UpdateIntegrityNeverChecked&) const = default;
};
using UpdateIntegrityStatus = std::variant<UpdateIntegrityVerified, UpdateIntegrityValidationFailed,
                                           UpdateIntegrityNeverChecked>;

// The "Update integrity" line; `formatDate` renders a check date (short date, short time).
std::string updateIntegrityText(const UpdateIntegrityStatus& status,
                                const std::function<std::string(UpdateCheckDate)>& formatDate);

// Between the update framework and the UI: whether updating is possible at all, the update
// preferences, the version being run and whether the last feed passed its signature check.
// Main thread only.
class UpdaterController final : public UpdateFrameworkDelegate,
                                public std::enable_shared_from_this<UpdaterController> {
public:
    static std::shared_ptr<UpdaterController> create(const UpdaterRuntime& runtime,
                                                     UpdaterPreferences preferences,
                                                     const UpdateFrameworkFactory& framework);

    bool isEnabled() const { return updater_ != nullptr; }
    const UpdaterVersionSummary& versionSummary() const { return versionSummary_; }
    const UpdaterSettings& settings() const { return settings_; }
    const std::optional<std::string>& trustedUpdateKeyFingerprint() const { return fingerprint_; }
    const UpdateIntegrityStatus& updateIntegrity() const { return integrity_; }

    // Publishes, persists and applies new preferences.
    void save(const UpdaterSettings& settings);
    // Asks the updater to check now; nothing when there is none.
    void checkForUpdates();

    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

    void didFinishLoading(int signingValidationStatus) override;
    void didFindValidUpdate() override {}
    void didAbortWithError() override;

    explicit UpdaterController(UpdaterPreferences preferences);

private:
    void changed();

    UpdaterPreferences preferences_;
    UpdaterVersionSummary versionSummary_;
    UpdaterSettings settings_;
    std::optional<std::string> fingerprint_;
    UpdateIntegrityStatus integrity_ = UpdateIntegrityNeverChecked{};
    std::unique_ptr<UpdateFramework> updater_;
    std::function<void()> onChange_;
};

} // namespace velmora
