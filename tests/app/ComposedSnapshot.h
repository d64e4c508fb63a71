// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AdvancedHistorySnapshot.h"
#include "model/PopoverSnapshot.h"

namespace velmora::testing {

// What the monitor was watching when it composed an answer.
enum class Session {
    // An editor leaking steadily while the machine runs short of memory, a browser and a chat
    // app growing beside it, the process the kernel would end first, and a relief plan.
    leaking,
    // Nothing growing now; the editor's growth stopped and the chat app ended a while ago.
    calm,
    // Only the self-check's own targets, shown as rows under a calm card.
    selfCheck,
    // The first answer, while the first process scan runs and memory has not been read.
    firstScan,
};

// An answer as the monitor composes it, codes and figures beside its texts; with `withDetail`
// the editor's detail too, with its timeline and its captured evidence. The demo scenarios
// send their texts alone; this is what a real monitor sends.
PopoverSnapshot composedSnapshot(Session session, bool withDetail = false);

// Recurring offenders as the history store words them, codes and figures beside the texts;
// with `withDetail` the editor's detail too, with its metrics and insights.
AdvancedHistorySnapshot composedHistory(bool withDetail);

} // namespace velmora::testing
