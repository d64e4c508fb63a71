// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/MockVelmoraBackend.h"

#include "base/DescriptorIo.h"
#include "demo/ScenarioLibrary.h"
#include "link/Uuid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unistd.h>

namespace velmora {

namespace {

FindingSeverity severityOfRow(const PopoverSnapshot& snapshot, const std::string& key) {
    const auto row = std::find_if(snapshot.rows.begin(), snapshot.rows.end(),
                                  [&](const FindingSnapshot& r) { return r.key == key; });
    return row == snapshot.rows.end() ? FindingSeverity::suspect : row->severity;
}

ActionFeedbackSnapshot feedback(std::string title, std::string message) {
    return ActionFeedbackSnapshot{newUuidV4(), ActionFeedbackKind::success, std::move(title),
                                  std::move(message)};
}

void printLine(const std::string& text) {
    writeAll(STDOUT_FILENO, text + "\n");
}

} // namespace

MockVelmoraBackend::MockVelmoraBackend(PopoverSnapshot initial) : subject_(std::move(initial)) {}

PopoverSnapshot MockVelmoraBackend::currentSnapshot() const {
    return subject_.value();
}

std::unique_ptr<Subscription> MockVelmoraBackend::subscribe(SnapshotHandler handler) {
    return subject_.subscribe(std::move(handler));
}

bool MockVelmoraBackend::applyAction(PopoverSnapshot& snapshot, const std::string& actionID,
                                     const std::string& targetKey) {
    auto id = fromWire<ActionId>(actionID);
    if (!id) {
        return false;
    }
    switch (*id) {
    case ActionId::selectDetail:
        snapshot.selectedDetail =
            ScenarioLibrary::detail(targetKey, severityOfRow(snapshot, targetKey));
        snapshot.destructiveConfirmation.reset();
        return true;
    case ActionId::dismissDetail:
        snapshot.selectedDetail.reset();
        snapshot.destructiveConfirmation.reset();
        return true;
    case ActionId::requestForceQuit:
        snapshot.destructiveConfirmation = ScenarioLibrary::forceQuitConfirmation(targetKey);
        return true;
    case ActionId::cancelForceQuit:
    case ActionId::confirmForceQuit:
        snapshot.destructiveConfirmation.reset();
        return true;
    case ActionId::recover:
        snapshot.actionFeedback =
            feedback("Recovery completed",
                     "Velmora stopped " + targetKey + " with a graceful recovery pass.");
        return true;
    case ActionId::restart:
        snapshot.actionFeedback =
            feedback("Restart completed", "Velmora quit and relaunched " + targetKey + ".");
        return true;
    case ActionId::ignore:
        snapshot.actionFeedback =
            feedback("Ignored for 24 hours", "Velmora will keep " + targetKey +
                                                 " out of the suspect lane for the next 24 hours.");
        return true;
    default:
        return false;
    }
}

void MockVelmoraBackend::dispatch(const std::string& actionID, const std::string& targetKey) {
    subject_.modify(
        [&](PopoverSnapshot& snapshot) { return applyAction(snapshot, actionID, targetKey); });
}

std::filesystem::path MockVelmoraBackend::previewReportPath() {
    std::filesystem::path dataHome;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        dataHome = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        dataHome = std::filesystem::path(home) / ".local" / "share";
    } else {
        dataHome = std::filesystem::temp_directory_path();
    }
    return dataHome / "velmora" / "reports" / "report_preview.json";
}

void MockVelmoraBackend::dispatch(ShellCommand command) {
    if (command != ShellCommand::exportReport) {
        printLine("[MockVelmoraBackend] command=" + std::string(toWire(command)));
        return;
    }
    subject_.modify([](PopoverSnapshot& snapshot) {
        snapshot.actionFeedback =
            feedback("Report exported", "Saved " + previewReportPath().string() + ".");
        return true;
    });
}

void MockVelmoraBackend::fetchAdvancedHistory(std::optional<std::string> selectedKey,
                                              HistoryCompletion completion) {
    if (!completion) {
        return;
    }
    completion(selectedKey ? HistoryResult{ScenarioLibrary::advancedHistoryDetail(*selectedKey)}
                           : HistoryResult{ScenarioLibrary::advancedHistory()});
}

uint64_t MockVelmoraBackend::refreshIntervalMs(double seconds) {
    if (!(seconds > 0.5)) { // also a NaN
        return 500;
    }
    return static_cast<uint64_t>(std::llround(std::min(seconds, 10.0) * 1000.0));
}

void MockVelmoraBackend::updateRefreshInterval(double seconds) {
    subject_.modify([&](PopoverSnapshot& snapshot) {
        snapshot.refreshIntervalMs = refreshIntervalMs(seconds);
        return true;
    });
}

void MockVelmoraBackend::updateStorageMode(SettingsStorageMode mode) {
    subject_.modify([&](PopoverSnapshot& snapshot) {
        snapshot.settings = snapshot.settings.updating(mode, std::nullopt);
        return true;
    });
}

void MockVelmoraBackend::updateEvidenceCaptureEnabled(bool enabled) {
    subject_.modify([&](PopoverSnapshot& snapshot) {
        snapshot.settings = snapshot.settings.updating(std::nullopt, enabled);
        return true;
    });
}

} // namespace velmora
