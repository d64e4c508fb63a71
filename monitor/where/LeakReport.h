// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Json.h"
#include "model/WhereCodes.h"

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace velmora {

// One frame of an allocation's call stack, as heaptrack resolved it: the function (an address
// when the module has no symbols), the source file and line when known, and the module.
struct StackFrame {
    std::string function;
    std::string file;
    uint32_t line = 0;
    std::string module;

    bool operator==(const StackFrame&) const = default;
};

// Memory allocated from one call stack during tracking and not freed by its end: the bytes,
// the number of allocations, the stack (innermost first) and which frame is the site in the
// program's own code (past the allocator and the standard library).
struct LeakSite {
    uint64_t bytes = 0;
    uint64_t calls = 0;
    std::vector<StackFrame> stack;
    uint32_t siteFrame = 0;

    const StackFrame* site() const;
    bool operator==(const LeakSite&) const = default;
};

// What heaptrack_print read from one recording.
struct LeakReport {
    std::string debuggee;      // the command line heaptrack recorded
    double runtimeSeconds = 0; // how long the recording ran
    uint64_t leakedBytes = 0;  // everything not freed, the sites below and the rest
    uint64_t allocationCalls = 0;
    std::vector<LeakSite> sites; // by call stack, largest first

    bool operator==(const LeakReport&) const = default;
};

// The outcome of one `velmora where`: the tracked process, how the tracking went, where the
// recording is kept and the sites that grew, largest first.
struct WhereReport {
    int64_t pid = 0;
    std::string program;
    double trackedSeconds = 0;
    bool processEnded = false; // it ended during tracking; the sites are what was recorded
    bool stoppedEarly = false; // tracking was stopped before its time
    std::string recording;
    uint64_t recordingBytes = 0;
    uint64_t leakedBytes = 0;
    std::vector<LeakSite> sites;
    int64_t relaunchedPid = 0; // a launched program started again without tracking
    std::string note;          // what went wrong after the recording was made

    bool operator==(const WhereReport&) const = default;
};

// A command a person can run themselves, with what it does: the explanation written from its
// code, which travels beside it.
struct SuggestedCommand {
    std::string command;
    std::string explanation;
    std::optional<WhereCommandCodes> code = std::nullopt;

    bool operator==(const SuggestedCommand&) const = default;
};

// Why `velmora where` recorded nothing. `reason` is the wire name of the refusal
// ("notInstalled", "ptraceScope", "attachRefused", "failed", ...). The message is written from
// its sentences' codes, which travel beside it (a failure from an older `velmora where` has
// none).
struct WhereFailure {
    std::string reason;
    std::string message;
    std::vector<SuggestedCommand> commands; // what a person can run with the rights it needs
    bool restartHelps = false;              // restarting the program under tracking would work
    std::vector<WhereFailureCodes> sentences{};

    bool operator==(const WhereFailure&) const = default;
};

// A failure with nothing to run instead: `reason` is its wire name, its message the sentence
// of `code` with its figures.
WhereFailure trackingFailure(std::string reason, WhereFailureCode code, ActionFigures figures = {});
WhereFailure trackingFailure(std::string reason, const WhereFailureCodes& sentence);
// One more sentence at the end of the failure's message.
void addSentence(WhereFailure& failure, WhereFailureCode code, ActionFigures figures = {});
// A command with its explanation written from `code`.
SuggestedCommand suggestedCommand(std::string command, WhereCommandCode code);

StackFrame decodeRecord(const Json& json, std::type_identity<StackFrame>);
Json encodeRecord(const StackFrame& value);
LeakSite decodeRecord(const Json& json, std::type_identity<LeakSite>);
Json encodeRecord(const LeakSite& value);
WhereReport decodeRecord(const Json& json, std::type_identity<WhereReport>);
Json encodeRecord(const WhereReport& value);
SuggestedCommand decodeRecord(const Json& json, std::type_identity<SuggestedCommand>);
Json encodeRecord(const SuggestedCommand& value);
WhereFailure decodeRecord(const Json& json, std::type_identity<WhereFailure>);
Json encodeRecord(const WhereFailure& value);

} // namespace velmora
