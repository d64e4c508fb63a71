// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeVelmoraBackend.h"
#include "state/ManualScheduler.h"
#include "state/PopoverViewModel.h"

#include <chrono>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace velmora::testing {

using namespace std::chrono_literals;

inline FindingSnapshot row(std::string key, FindingSeverity severity = FindingSeverity::watch,
                           FindingVerdict verdict = FindingVerdict::normal) {
    FindingSnapshot finding;
    finding.title = "Process " + key;
    finding.key = std::move(key);
    finding.severity = severity;
    finding.verdict = verdict;
    return finding;
}

inline std::vector<FindingSnapshot> rows(std::initializer_list<const char*> keys) {
    std::vector<FindingSnapshot> list;
    for (const char* key : keys) {
        list.push_back(row(key));
    }
    return list;
}

inline PopoverSnapshot snapshotWith(std::vector<FindingSnapshot> list) {
    PopoverSnapshot snapshot;
    snapshot.rows = std::move(list);
    return snapshot;
}

inline DetailSnapshot detail(std::string key) {
    DetailSnapshot value;
    value.key = std::move(key);
    return value;
}

// A view model over a fake backend and a manual clock, with every change it reports.
class ViewModelTest : public ::testing::Test {
protected:
    void start(PopoverSnapshot initial = {}) {
        backend = std::make_shared<FakeVelmoraBackend>(std::move(initial));
        viewModel = PopoverViewModel::create(backend, scheduler, catalog, dismissals, 10s, 4s);
        observation = viewModel->observe(
            [this](const ViewModelChange& change) { changes.push_back(change); });
        scheduler->runPending();
    }

    // Publishes on the backend and lets the posted delivery run.
    void publish(const PopoverSnapshot& snapshot) {
        backend->publish(snapshot);
        scheduler->runPending();
    }

    std::vector<std::string> shownKeys() const {
        std::vector<std::string> keys;
        for (const auto& finding : viewModel->snapshot().rows) {
            keys.push_back(finding.key);
        }
        return keys;
    }

    // The changes that touched `field`, in order; forgets every recorded change.
    std::vector<ViewModelChange> take(ViewModelField field) {
        std::vector<ViewModelChange> matching;
        for (const auto& change : changes) {
            if (change.has(field)) {
                matching.push_back(change);
            }
        }
        changes.clear();
        return matching;
    }

    static std::optional<MotionName> motionOf(const ViewModelChange& change) {
        if (!change.motion) {
            return std::nullopt;
        }
        return change.motion->name;
    }

    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::shared_ptr<MemoryVerdictTooltipDismissalStore> dismissals =
        std::make_shared<MemoryVerdictTooltipDismissalStore>();
    VerdictTooltipCatalog catalog;
    std::shared_ptr<FakeVelmoraBackend> backend;
    std::shared_ptr<PopoverViewModel> viewModel;
    std::unique_ptr<Observation> observation;
    std::vector<ViewModelChange> changes;
};

using Keys = std::vector<std::string>;

} // namespace velmora::testing
