// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Decoded.h"
#include "monitor/where/HeapTools.h"
#include "monitor/where/LeakReport.h"

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// The arguments that make heaptrack_print list only what was allocated and not freed, one
// entry per call stack, the largest `entries` first.
std::vector<std::string> heaptrackPrintArguments(const std::string& recording, int entries);

// Reads heaptrack_print's text (its "MEMORY LEAKS" section, unmerged, and the summary) as it
// comes, in pieces of any size: a report of many megabytes is read in bounded memory, keeping
// the largest entries. The text comes from another program: anything it does not expect is a
// DecodeError whose path is the line ("line 12"), never a crash; so is a report that stops
// before its total of memory leaked, its last line.
class HeaptrackPrintReader {
public:
    void feed(std::string_view chunk);
    Decoded<LeakReport> finish();

    // Entries kept at most, the largest; lines longer than kLineLimit are cut there.
    static constexpr std::size_t kKeptSites = 4096;
    static constexpr std::size_t kLineLimit = 64 * 1024;

    struct Line {
        std::size_t number = 0;
        std::size_t indent = 0;
        std::string_view text; // without the indent and trailing blanks
    };

private:
    void takeLine();
    std::optional<DecodeError> take(const Line& line);
    std::optional<DecodeError> takeTopLevel(const Line& line);
    std::optional<DecodeError> takeSummary(const Line& line);
    void keepLargest();

    std::string carry_;
    std::size_t lines_ = 0;
    std::optional<DecodeError> error_;
    LeakReport report_;
    LeakSite* site_ = nullptr;
    std::size_t frameIndent_ = 0;
    bool inLeaks_ = false;
    bool sawLeaks_ = false;
    bool sawSummary_ = false;
    bool sawTotal_ = false;
};

// The whole of one heaptrack_print text, read as above.
Decoded<LeakReport> parseHeaptrackPrint(std::string_view text);

// "53.15M" -> 53150000: heaptrack's sizes, decimal units B, K, M, G, T.
std::optional<uint64_t> parseHeaptrackBytes(std::string_view text);

// The frame of a stack that is the program's own code: the first past the allocators, the C++
// standard library and system headers (the innermost frame when every frame is one of those).
uint32_t ownCodeFrame(const std::vector<StackFrame>& stack);

// The sites that grew during tracking, largest first, at most `count`: call stacks grouped by
// their own-code frame, keeping those that allocated more than once and hold at least a
// hundredth of the memory not freed. A buffer in use at the moment tracking stopped (one
// allocation) is not growth.
std::vector<LeakSite> growingSites(const LeakReport& report, std::size_t count);

// Runs heaptrack_print on a recording and reads its report; a DecodeError says why not.
Decoded<LeakReport> analyseRecording(const HeapTools& tools, const std::string& recording,
                                     double timeoutSeconds);

} // namespace velmora
