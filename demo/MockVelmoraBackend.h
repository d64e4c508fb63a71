// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/CurrentValuePublisher.h"
#include "link/VelmoraBackend.h"

#include <filesystem>

namespace velmora {

// A backend that serves canned content in process, for the demo modes and self-checks.
// Every operation computes the next snapshot from the current one and publishes it before it
// returns, on the caller's thread; fetchAdvancedHistory completes before it returns.
class MockVelmoraBackend final : public VelmoraBackend {
public:
    explicit MockVelmoraBackend(PopoverSnapshot initial);

    PopoverSnapshot currentSnapshot() const override;
    [[nodiscard]] std::unique_ptr<Subscription> subscribe(SnapshotHandler handler) override;
    void dispatch(const std::string& actionID, const std::string& targetKey) override;
    void dispatch(ShellCommand command) override;
    void fetchAdvancedHistory(std::optional<std::string> selectedKey,
                              HistoryCompletion completion) override;
    void updateRefreshInterval(double seconds) override;
    void updateStorageMode(SettingsStorageMode mode) override;
    void updateEvidenceCaptureEnabled(bool enabled) override;

    // The refreshIntervalMs the mock stores for a requested interval: 500 at or below 0.5 s,
    // else the rounded min(seconds, 10) * 1000.
    static uint64_t refreshIntervalMs(double seconds);

    // Applies one action to a snapshot; false (and no change) for an unknown identifier.
    static bool applyAction(PopoverSnapshot& snapshot, const std::string& actionID,
                            const std::string& targetKey);

    // Where the preview report of "export_report" is said to be saved:
    // <data directory>/reports/report_preview.json, the data directory being
    // $XDG_DATA_HOME/velmora or ~/.local/share/velmora.
    static std::filesystem::path previewReportPath();

private:
    CurrentValuePublisher<PopoverSnapshot> subject_;
};

} // namespace velmora
