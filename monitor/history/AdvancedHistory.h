// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AdvancedHistorySnapshot.h"
#include "monitor/history/HistoryLine.h"
#include "monitor/history/Outcome.h"

#include <cstddef>
#include <optional>
#include <set>
#include <string>

namespace velmora {

class HistoryStore;

// The advanced-history answer and the live incident's history line, from the store, at the
// store's clock. `liveKeys` are the families live right now.
class AdvancedHistory {
public:
    explicit AdvancedHistory(HistoryStore& store, std::size_t maxOffenders = 50)
        : store_(store), maxOffenders_(maxOffenders) {}

    // Offenders ranked by incidents in 30 days, then critical incidents, peak score and last
    // seen; with the detail of `selectedKey` when it names a family the history knows. A
    // database that cannot be read gives the message to send instead.
    Outcome<AdvancedHistorySnapshot> snapshot(const std::optional<std::string>& selectedKey,
                                              const std::set<std::string>& liveKeys) const;

    HistoryLine historyFor(const std::string& key) const;

private:
    HistoryStore& store_;
    std::size_t maxOffenders_;
};

} // namespace velmora
