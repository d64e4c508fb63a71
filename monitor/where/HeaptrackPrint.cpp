// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/where/HeaptrackPrint.h"

#include "base/Clocks.h"
#include "monitor/common/DisplayText.h"
#include "monitor/where/ToolProcess.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <poll.h>
#include <tuple>

namespace velmora {
namespace {

constexpr std::size_t kTextLimit = 2048;

using Line = HeaptrackPrintReader::Line;

Line lineAt(std::string_view raw, std::size_t number) {
    Line line;
    line.number = number;
    line.indent = std::min(raw.find_first_not_of(' '), raw.size());
    std::size_t end = raw.find_last_not_of(" \t\r");
    line.text = end == std::string_view::npos || end < line.indent
                    ? std::string_view()
                    : raw.substr(line.indent, end + 1 - line.indent);
    return line;
}

DecodeError errorAt(const Line& line, std::string reason) {
    return DecodeError{"line " + std::to_string(line.number), std::move(reason)};
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

template <class Number> std::optional<Number> number(std::string_view text) {
    Number value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// "53.15M leaked over 811 calls from" (":" when merged): the size and the count.
std::optional<std::pair<uint64_t, uint64_t>> leakHeader(std::string_view text) {
    std::size_t over = text.find(" leaked over ");
    std::size_t calls = text.find(" calls from");
    if (over == std::string_view::npos || calls == std::string_view::npos || calls < over) {
        return std::nullopt;
    }
    auto bytes = parseHeaptrackBytes(text.substr(0, over));
    std::size_t countStart = over + 13;
    auto count = number<uint64_t>(text.substr(countStart, calls - countStart));
    if (!bytes || !count) {
        return std::nullopt;
    }
    return std::pair{*bytes, *count};
}

// "/src/cache.cpp:5" -> ("/src/cache.cpp", 5); a location without a line keeps it all.
void readLocation(std::string_view text, StackFrame& frame) {
    std::size_t colon = text.rfind(':');
    if (colon != std::string_view::npos) {
        if (auto line = number<uint32_t>(text.substr(colon + 1))) {
            frame.file = displayText(text.substr(0, colon), kTextLimit);
            frame.line = *line;
            return;
        }
    }
    frame.file = displayText(text, kTextLimit);
}

// The value after "key" in a summary line ("total runtime: 16.83s." -> "16.83").
std::optional<std::string_view> summaryValue(std::string_view text, std::string_view key) {
    if (!startsWith(text, key)) {
        return std::nullopt;
    }
    std::string_view value = text.substr(key.size());
    std::size_t end = value.find_first_of(" (");
    return value.substr(0, end);
}

bool isAllocatorFunction(std::string_view function) {
    static constexpr std::string_view allocators[] = {
        "operator new", "operator delete", "malloc",        "calloc",   "realloc",
        "reallocarray", "posix_memalign",  "aligned_alloc", "memalign", "valloc",
        "pvalloc",      "strdup",          "strndup",       "__libc_",  "g_malloc",
        "g_realloc",    "g_try_malloc",    "g_try_realloc", "g_slice_", "g_memdup",
        "g_strdup",     "g_strndup",       "__gnu_cxx::",   "std::",    "__cxa_",
    };
    // A template's return type comes first ("void std::vector<>::_M_realloc_insert<>(...)").
    std::size_t paren = function.find('(');
    std::size_t space = function.substr(0, paren).rfind(' ');
    std::string_view name = space == std::string_view::npos ? function : function.substr(space + 1);
    return std::any_of(std::begin(allocators), std::end(allocators), [&](std::string_view prefix) {
        return startsWith(function, prefix) || startsWith(name, prefix);
    });
}

} // namespace

void HeaptrackPrintReader::feed(std::string_view chunk) {
    while (!chunk.empty() && !error_) {
        std::size_t nl = chunk.find('\n');
        std::string_view piece = chunk.substr(0, nl);
        if (carry_.size() < kLineLimit) {
            carry_.append(piece.substr(0, kLineLimit - carry_.size()));
        }
        if (nl == std::string_view::npos) {
            return;
        }
        chunk.remove_prefix(nl + 1);
        takeLine();
    }
}

void HeaptrackPrintReader::takeLine() {
    error_ = take(lineAt(carry_, ++lines_));
    carry_.clear();
}

Decoded<LeakReport> HeaptrackPrintReader::finish() {
    if (!error_ && !carry_.empty()) {
        takeLine();
    }
    if (error_) {
        return *error_;
    }
    if (!sawLeaks_ && !sawSummary_) {
        return DecodeError{"", "heaptrack_print wrote no leak report"};
    }
    if (!sawTotal_) {
        return DecodeError{"line " + std::to_string(lines_),
                           "heaptrack_print's report ended before its total of memory leaked"};
    }
    keepLargest();
    return std::move(report_);
}

// Keeps the kKeptSites largest entries, in the order heaptrack printed them.
void HeaptrackPrintReader::keepLargest() {
    if (report_.sites.size() <= kKeptSites) {
        return;
    }
    std::vector<std::size_t> order(report_.sites.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return report_.sites[a].bytes > report_.sites[b].bytes;
    });
    order.resize(kKeptSites);
    std::sort(order.begin(), order.end());
    std::vector<LeakSite> kept;
    kept.reserve(kKeptSites);
    for (std::size_t i : order) {
        kept.push_back(std::move(report_.sites[i]));
    }
    report_.sites = std::move(kept);
}

std::optional<DecodeError> HeaptrackPrintReader::take(const Line& line) {
    if (line.text.empty()) {
        site_ = nullptr;
        return std::nullopt;
    }
    if (line.indent == 0) {
        return takeTopLevel(line);
    }
    if (!inLeaks_ || site_ == nullptr) {
        return std::nullopt; // indented text outside an entry: other sections
    }
    if (!site_->stack.empty() && line.indent > frameIndent_) {
        if (startsWith(line.text, "at ")) {
            readLocation(line.text.substr(3), site_->stack.back());
            return std::nullopt;
        }
        if (startsWith(line.text, "in ")) {
            site_->stack.back().module = displayText(line.text.substr(3), kTextLimit);
            return std::nullopt;
        }
    }
    if (site_->stack.size() >= 256) {
        return errorAt(line, "a call stack deeper than 256 frames");
    }
    frameIndent_ = line.indent;
    site_->stack.push_back(StackFrame{displayText(line.text, kTextLimit), {}, 0, {}});
    return std::nullopt;
}

std::optional<DecodeError> HeaptrackPrintReader::takeTopLevel(const Line& line) {
    site_ = nullptr;
    if (line.text == "MEMORY LEAKS") {
        inLeaks_ = sawLeaks_ = true;
        return std::nullopt;
    }
    if (startsWith(line.text, "Debuggee command was: ")) {
        report_.debuggee = displayText(line.text.substr(22), kTextLimit);
        return std::nullopt;
    }
    if (inLeaks_ && line.text.find(" leaked over ") != std::string_view::npos) {
        auto header = leakHeader(line.text);
        if (!header) {
            return errorAt(line, "unreadable leak entry \"" + displayText(line.text, 120) + "\"");
        }
        if (report_.sites.size() >= 2 * kKeptSites) {
            keepLargest(); // a report of many megabytes is read in bounded memory
        }
        report_.sites.push_back(LeakSite{header->first, header->second, {}, 0});
        site_ = &report_.sites.back();
        return std::nullopt;
    }
    inLeaks_ = false;
    return takeSummary(line);
}

std::optional<DecodeError> HeaptrackPrintReader::takeSummary(const Line& line) {
    if (auto value = summaryValue(line.text, "total runtime: ")) {
        std::string_view seconds = *value;
        if (!seconds.empty() && seconds.back() == '.') {
            seconds.remove_suffix(1);
        }
        if (!seconds.empty() && seconds.back() == 's') {
            seconds.remove_suffix(1);
        }
        auto parsed = number<double>(seconds);
        if (!parsed || !std::isfinite(*parsed) || *parsed < 0) {
            return errorAt(line, "unreadable runtime");
        }
        report_.runtimeSeconds = *parsed;
        sawSummary_ = true;
    } else if (auto calls = summaryValue(line.text, "calls to allocation functions: ")) {
        report_.allocationCalls = number<uint64_t>(*calls).value_or(0);
    } else if (auto leaked = summaryValue(line.text, "total memory leaked: ")) {
        auto bytes = parseHeaptrackBytes(*leaked);
        if (!bytes) {
            return errorAt(line, "unreadable total of memory leaked");
        }
        report_.leakedBytes = *bytes;
        sawSummary_ = sawTotal_ = true;
    }
    return std::nullopt;
}

std::vector<std::string> heaptrackPrintArguments(const std::string& recording, int entries) {
    return {"heaptrack_print",
            "--file",
            recording,
            "--print-leaks=1",
            "--print-peaks=0",
            "--print-allocators=0",
            "--print-temporary=0",
            "--merge-backtraces=0",
            "--peak-limit=" + std::to_string(entries)};
}

std::optional<uint64_t> parseHeaptrackBytes(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    double scale = 1;
    switch (text.back()) {
    case 'B':
        break;
    case 'K':
        scale = 1e3;
        break;
    case 'M':
        scale = 1e6;
        break;
    case 'G':
        scale = 1e9;
        break;
    case 'T':
        scale = 1e12;
        break;
    default:
        return std::nullopt;
    }
    auto value = number<double>(text.substr(0, text.size() - 1));
    if (!value || !std::isfinite(*value) || *value < 0 || *value * scale > 1.8e19) {
        return std::nullopt;
    }
    return static_cast<uint64_t>(std::llround(*value * scale));
}

Decoded<LeakReport> parseHeaptrackPrint(std::string_view text) {
    HeaptrackPrintReader reader;
    reader.feed(text);
    return reader.finish();
}

uint32_t ownCodeFrame(const std::vector<StackFrame>& stack) {
    for (std::size_t i = 0; i < stack.size(); ++i) {
        const StackFrame& frame = stack[i];
        if (!startsWith(frame.file, "/usr/include/") && !isAllocatorFunction(frame.function)) {
            return static_cast<uint32_t>(i);
        }
    }
    return 0;
}

std::vector<LeakSite> growingSites(const LeakReport& report, std::size_t count) {
    using Key = std::tuple<std::string, std::string, uint32_t, std::string>;
    std::map<Key, LeakSite> grouped;
    uint64_t total = 0;
    for (const LeakSite& entry : report.sites) {
        total += entry.bytes;
        if (entry.stack.empty()) {
            continue;
        }
        uint32_t own = ownCodeFrame(entry.stack);
        const StackFrame& frame = entry.stack[own];
        auto [it, fresh] =
            grouped.try_emplace(Key{frame.function, frame.file, frame.line, frame.module});
        LeakSite& site = it->second;
        if (fresh || entry.bytes > site.bytes) {
            uint64_t bytes = site.bytes;
            uint64_t calls = site.calls;
            site = entry;
            site.siteFrame = own;
            site.bytes = bytes;
            site.calls = calls;
        }
        site.bytes += entry.bytes;
        site.calls += entry.calls;
    }
    total = std::max(total, report.leakedBytes);
    std::vector<LeakSite> sites;
    for (auto& [key, site] : grouped) {
        if (site.calls >= 2 && site.bytes * 100 >= total && site.bytes > 0) {
            sites.push_back(std::move(site));
        }
    }
    std::stable_sort(sites.begin(), sites.end(),
                     [](const LeakSite& a, const LeakSite& b) { return a.bytes > b.bytes; });
    if (sites.size() > count) {
        sites.resize(count);
    }
    return sites;
}

Decoded<LeakReport> analyseRecording(const HeapTools& tools, const std::string& recording,
                                     double timeoutSeconds) {
    if (tools.heaptrackPrint.empty()) {
        return DecodeError{"", missingToolsText({"heaptrack"})};
    }
    std::string error;
    auto tool =
        ToolProcess::start(tools.heaptrackPrint, heaptrackPrintArguments(recording, 64), {}, error);
    if (!tool) {
        return DecodeError{"", error};
    }
    // The report is read as it comes, however long; only its last lines are kept as they are,
    // for saying why it could not be read.
    HeaptrackPrintReader reader;
    std::string tail;
    auto sink = [&](std::string_view chunk) {
        reader.feed(chunk);
        tail.append(chunk);
        if (tail.size() > 8192) {
            tail.erase(0, tail.size() - 4096);
        }
    };
    const double deadline = steadySeconds() + timeoutSeconds;
    std::optional<int> status;
    for (bool open = true; open || !status;) {
        open = open && tool->readAvailable(sink);
        status = tool->exited();
        double left = deadline - steadySeconds();
        if (left <= 0 && (open || !status)) {
            return DecodeError{"", "heaptrack_print did not finish within " +
                                       std::to_string(static_cast<int>(timeoutSeconds)) + " s"};
        }
        pollfd ready{open ? tool->outputFd() : -1, POLLIN, 0};
        ::poll(&ready, 1, open ? static_cast<int>(std::min(left, 0.25) * 1000) + 1 : 20);
    }
    if (!exitedCleanly(status)) {
        return DecodeError{"", "heaptrack_print could not read the recording to its end: " +
                                   lastLine(tail)};
    }
    return reader.finish();
}

} // namespace velmora
