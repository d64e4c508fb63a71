// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/BackendRequestError.h"
#include "link/ShellCommand.h"
#include "link/Subscription.h"
#include "model/AdvancedHistorySnapshot.h"
#include "model/Enums.h"
#include "model/MonitorLinkState.h"
#include "model/PopoverSnapshot.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace velmora {

using SnapshotHandler = std::function<void(const PopoverSnapshot&)>;
using HistoryResult = std::variant<AdvancedHistorySnapshot, BackendRequestError>;
using HistoryCompletion = std::function<void(HistoryResult)>;
using MonitorLinkHandler = std::function<void(const MonitorLinkState&)>;

// The backend as the view model sees it. Every user action is a request; its outcome arrives
// as the next snapshot. No operation blocks its caller.
class VelmoraBackend {
public:
    virtual ~VelmoraBackend() = default;

    // The latest snapshot (before the first answer: the implementation's placeholder).
    virtual PopoverSnapshot currentSnapshot() const = 0;

    // The handler first receives the current snapshot (synchronously, inside subscribe),
    // then every later one, on the publishing thread (the client's worker for the stdio
    // client). Destroying the returned token ends the subscription.
    [[nodiscard]] virtual std::unique_ptr<Subscription> subscribe(SnapshotHandler) = 0;

    // Sends the action of an ActionDescriptor: its id and target key. Fire and forget.
    virtual void dispatch(const std::string& actionID, const std::string& targetKey) = 0;

    // Sends a shell command. Fire and forget.
    virtual void dispatch(ShellCommand) = 0;

    // Asks for the advanced history, optionally with one offender selected. The completion
    // may run on any thread, possibly before this call returns.
    virtual void fetchAdvancedHistory(std::optional<std::string> selectedKey,
                                      HistoryCompletion) = 0;

    virtual void updateRefreshInterval(double seconds) = 0;
    virtual void updateStorageMode(SettingsStorageMode) = 0;
    virtual void updateEvidenceCaptureEnabled(bool) = 0;

    // Whether the monitor is watching. A backend with no monitor process to lose (the mock)
    // always is; these defaults say so.
    virtual MonitorLinkState currentMonitorLink() const { return {}; }

    // Like subscribe(), for the monitor link: the handler first receives the current state
    // (synchronously), then every change, on the publishing thread.
    [[nodiscard]] virtual std::unique_ptr<Subscription> subscribeMonitorLink(MonitorLinkHandler);

    // Starts the monitor again at once when it is not watching (after it failed, or after the
    // restarts were given up). Fire and forget; the outcome arrives through the monitor link.
    virtual void restartMonitor() {}
};

} // namespace velmora
