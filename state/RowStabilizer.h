// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FindingSnapshot.h"

#include <string>
#include <vector>

namespace velmora {

// The row arithmetic of snapshot intake: single passes with key maps.

// `rows` with every row whose key repeats an earlier row's key left out.
std::vector<FindingSnapshot> firstRowOfEachKey(std::vector<FindingSnapshot> rows);

// The incoming rows in on-screen order: rows already on screen keep their place and take the
// incoming content, rows no longer sent disappear, new rows follow in incoming order.
std::vector<FindingSnapshot> stabilizedRows(const std::vector<FindingSnapshot>& current,
                                            const std::vector<FindingSnapshot>& incoming);

// True when both lists have rows, the incoming top row differs from the on-screen top row and
// the on-screen top row is still among the incoming rows: the new order is held back.
bool shouldDelayFocusFlip(const std::vector<FindingSnapshot>& current,
                          const std::vector<FindingSnapshot>& incoming);

// Keys of the incoming rows, in incoming order, that are critical now and were not critical
// (or absent) in `previous`.
std::vector<std::string> newlyCriticalKeys(const std::vector<FindingSnapshot>& previous,
                                           const std::vector<FindingSnapshot>& incoming);

// True when both lists hold the same row keys in the same order.
bool sameRowKeys(const std::vector<FindingSnapshot>& a, const std::vector<FindingSnapshot>& b);

} // namespace velmora
