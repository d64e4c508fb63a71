#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace velmora {

using UpdateCheckDate = std::chrono::system_clock::time_point;

// What the update framework tells its delegate, on the main thread.
class UpdateFrameworkDelegate {
public:
    virtual ~UpdateFrameworkDelegate() = default;
    // The feed has loaded; `signingValidationStatus` is 0 skipped, 1 succeeded, 2 failed.
    virtual void didFinishLoading(int signingValidationStatus) = 0;
    virtual void didFindValidUpdate() = 0;
    virtual void didAbortWithError() = 0;
};

// A running updater. Linux builds have none (the package manager updates them); the
// controller talks to this interface so that tests can drive it with a double.
class UpdateFramework {
public:
    virtual ~UpdateFramework() = default;
    virtual void setAutomaticallyChecksForUpdates(bool enabled) = 0;
    virtual void setAutomaticallyDownloadsUpdates(bool enabled) = 0;
    virtual std::optional<UpdateCheckDate> lastUpdateCheckDate() const = 0;
    virtual void checkForUpdates() = 0;
};

// Starts an updater that reports to `delegate` (held weakly); null when none can start.
using UpdateFrameworkFactory =
    std::function<std::unique_ptr<UpdateFramework>(std::weak_ptr<UpdateFrameworkDelegate>)>;

} // namespace velmora
