// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/WhereItGrowsBlock.h"
#include "monitor/compose/ComposeContext.h"
#include "monitor/where/WhereCaptures.h"

#include <optional>
#include <string>

namespace velmora {

// Whether a family's detail offers "Find where it leaks": a suspect or worse, none of its
// processes protected, not a self-check target, and nothing tracking it right now.
bool offersWhere(const FamilyView& family, const WhereCaptures* captures);

// The "Where it grows" section of a family's detail once tracking was asked for: the progress
// with a countdown and a way to stop it, the sites in plain words with their stacks, or why it
// could not be done and what would work instead.
std::optional<WhereItGrowsBlock> whereSection(const ComposeContext& context,
                                              const std::string& key);
// The section for one tracking, wherever it stands.
WhereItGrowsBlock whereBlockOf(const ComposeContext& context, const WhereCapture& capture);

// The report a person pastes into the program's bug tracker: the program and its version when
// known, the verdict with its evidence, and the sites with their whole stacks.
struct BugReportFacts {
    const FamilyView* family = nullptr; // null once the family has gone
    const WhereCapture* capture = nullptr;
    const CapturedArtifact* evidence = nullptr;
    std::string programVersion; // "heaptrack 1.4.0-1 (Debian package heaptrack)", or empty
    std::string evidencePath;   // as shown to the person
    std::string recordingPath;
};
std::string whereBugReport(const BugReportFacts& facts);

} // namespace velmora
