#include "monitor/where/HeaptrackPrint.h"

#include "monitor/common/Utf8Text.h"
#include "monitor/where/ToolProcess.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <tuple>

namespace velmora {
namespace {

constexpr std::size_t kTextLimit = 2048;

struct Line {
    std::size_t number = 0;
    std::size_t indent = 0;
    std::string_view text; // without the indent and trailing blanks
};

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

class Reader {
public:
    Decoded<LeakReport> read(std::string_view text) {
        std::size_t number = 0;
        std::size_t pos = 0;
        while (pos <= text.size()) {
            std::size_t end = text.find('\n', pos);
            if (end == std::string_view::npos) {
                end = text.size();
            }
            if (auto error = take(lineAt(text.substr(pos, end - pos), ++number))) {
                return *error;
            }
            pos = end + 1;
        }
        if (!sawLeaks_ && !sawSummary_) {
            return DecodeError{"", "heaptrack_print wrote no leak report"};
        }
        return std::move(report_);
    }

private:
    std::optional<DecodeError> take(const Line& line) {
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

    std::optional<DecodeError> takeTopLevel(const Line& line) {
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
                return errorAt(line,
                               "unreadable leak entry \"" + displayText(line.text, 120) + "\"");
            }
            if (report_.sites.size() >= 4096) {
                return errorAt(line, "more than 4096 leak entries");
            }
            report_.sites.push_back(LeakSite{header->first, header->second, {}, 0});
            site_ = &report_.sites.back();
            return std::nullopt;
        }
        inLeaks_ = false;
        return takeSummary(line);
    }

    std::optional<DecodeError> takeSummary(const Line& line) {
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
            sawSummary_ = true;
        }
        return std::nullopt;
    }

    LeakReport report_;
    LeakSite* site_ = nullptr;
    std::size_t frameIndent_ = 0;
    bool inLeaks_ = false;
    bool sawLeaks_ = false;
    bool sawSummary_ = false;
};

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
    return Reader().read(text);
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
    ToolRun run =
        runTool(tools.heaptrackPrint, heaptrackPrintArguments(recording, 64), timeoutSeconds);
    if (!run.started) {
        return DecodeError{"", run.output};
    }
    if (run.timedOut) {
        return DecodeError{"", "heaptrack_print did not finish within " +
                                   std::to_string(static_cast<int>(timeoutSeconds)) + " s"};
    }
    auto report = parseHeaptrackPrint(run.output);
    if (!report && !exitedCleanly(run.status)) {
        return DecodeError{"",
                           "heaptrack_print could not read the recording: " + lastLine(run.output)};
    }
    return report;
}

} // namespace velmora
