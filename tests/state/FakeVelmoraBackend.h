// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/VelmoraBackend.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace velmora::testing {

// A backend for view-model tests: it records every call as a line of text, publishes the
// snapshots a test hands it (on the calling thread, like a client's worker would), and keeps
// advanced-history completions until the test completes them.
class FakeVelmoraBackend final : public VelmoraBackend {
public:
    explicit FakeVelmoraBackend(PopoverSnapshot initial = {}) : current_(std::move(initial)) {}

    PopoverSnapshot currentSnapshot() const override;
    std::unique_ptr<Subscription> subscribe(SnapshotHandler handler) override;
    void dispatch(const std::string& actionID, const std::string& targetKey) override;
    void dispatch(ShellCommand command) override;
    void fetchAdvancedHistory(std::optional<std::string> selectedKey,
                              HistoryCompletion completion) override;
    void updateRefreshInterval(double seconds) override;
    void updateStorageMode(SettingsStorageMode mode) override;
    void updateEvidenceCaptureEnabled(bool enabled) override;
    MonitorLinkState currentMonitorLink() const override;
    std::unique_ptr<Subscription> subscribeMonitorLink(MonitorLinkHandler handler) override;
    void restartMonitor() override;

    // Makes `state` the current monitor link and hands it to every link subscriber.
    void publishLink(const MonitorLinkState& state);

    // Makes `snapshot` current and hands it to every subscriber.
    void publish(const PopoverSnapshot& snapshot);

    // Runs the completion of the index-th history request (in the order they were made).
    void completeHistory(std::size_t index, HistoryResult result);
    std::size_t historyRequestCount() const;

    // The calls made so far ("dispatch restart::A", "command quit", "refresh 0.5",
    // "storage low", "evidence off", "history A", "history -" or "restart monitor"); takeCalls()
    // also forgets them.
    std::vector<std::string> calls() const;
    std::vector<std::string> takeCalls();
    std::size_t subscriberCount() const;

private:
    class Token;
    void record(std::string call);

    mutable std::mutex mutex_;
    PopoverSnapshot current_;
    MonitorLinkState link_;
    std::map<int, SnapshotHandler> handlers_;
    std::map<int, MonitorLinkHandler> linkHandlers_;
    int nextHandler_ = 0;
    std::vector<std::string> calls_;
    std::vector<HistoryCompletion> completions_;
};

} // namespace velmora::testing
