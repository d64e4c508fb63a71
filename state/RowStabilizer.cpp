// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/RowStabilizer.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace velmora {

std::vector<FindingSnapshot> firstRowOfEachKey(std::vector<FindingSnapshot> rows) {
    std::unordered_set<std::string_view> seen;
    bool repeated = false;
    for (const FindingSnapshot& row : rows) {
        repeated = !seen.insert(row.key).second || repeated;
    }
    if (!repeated) {
        return rows;
    }
    std::vector<FindingSnapshot> unique;
    unique.reserve(seen.size());
    std::unordered_set<std::string> taken;
    for (FindingSnapshot& row : rows) {
        if (taken.insert(row.key).second) {
            unique.push_back(std::move(row));
        }
    }
    return unique;
}

std::vector<FindingSnapshot> stabilizedRows(const std::vector<FindingSnapshot>& current,
                                            const std::vector<FindingSnapshot>& incoming) {
    std::unordered_map<std::string_view, const FindingSnapshot*> byKey;
    byKey.reserve(incoming.size());
    for (const FindingSnapshot& row : incoming) {
        byKey.emplace(row.key, &row);
    }
    std::vector<FindingSnapshot> rows;
    rows.reserve(incoming.size());
    const auto take = [&](std::string_view key) {
        const auto found = byKey.find(key);
        if (found != byKey.end()) {
            rows.push_back(*found->second);
            byKey.erase(found);
        }
    };
    for (const FindingSnapshot& row : current) {
        take(row.key);
    }
    for (const FindingSnapshot& row : incoming) {
        take(row.key);
    }
    return rows;
}

bool shouldDelayFocusFlip(const std::vector<FindingSnapshot>& current,
                          const std::vector<FindingSnapshot>& incoming) {
    if (current.empty() || incoming.empty() || incoming.front().key == current.front().key) {
        return false;
    }
    const std::string& onScreenTop = current.front().key;
    return std::any_of(incoming.begin(), incoming.end(),
                       [&](const FindingSnapshot& row) { return row.key == onScreenTop; });
}

std::vector<std::string> newlyCriticalKeys(const std::vector<FindingSnapshot>& previous,
                                           const std::vector<FindingSnapshot>& incoming) {
    std::unordered_map<std::string_view, FindingSeverity> severityByKey;
    severityByKey.reserve(previous.size());
    for (const FindingSnapshot& row : previous) {
        severityByKey.emplace(row.key, row.severity);
    }
    std::vector<std::string> keys;
    for (const FindingSnapshot& row : incoming) {
        if (row.severity != FindingSeverity::critical) {
            continue;
        }
        const auto found = severityByKey.find(row.key);
        if (found == severityByKey.end() || found->second != FindingSeverity::critical) {
            keys.push_back(row.key);
        }
    }
    return keys;
}

bool sameRowKeys(const std::vector<FindingSnapshot>& a, const std::vector<FindingSnapshot>& b) {
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(),
        [](const FindingSnapshot& x, const FindingSnapshot& y) { return x.key == y.key; });
}

} // namespace velmora
