// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/where/WhereText.h"

#include "monitor/common/Formatting.h"
#include "monitor/where/TraceAccess.h"

#include <cmath>

namespace velmora {
namespace {

std::string baseName(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "cache.cpp:5" (the whole path unless `baseOnly`), or just the file without a line.
std::string fileAndLine(const StackFrame& frame, bool baseOnly) {
    std::string text = baseOnly ? baseName(frame.file) : frame.file;
    if (frame.line > 0) {
        text.push_back(':');
        text.append(std::to_string(frame.line));
    }
    return text;
}

std::string bytesText(uint64_t bytes) {
    return formatKiB(static_cast<double>(bytes) / 1024.0);
}

std::string callsText(uint64_t calls) {
    return std::to_string(calls) + (calls == 1 ? " call" : " calls");
}

// Where the parameter list starts: the first "(" outside angle brackets that is neither part
// of "(anonymous namespace)" nor the name "operator()".
std::size_t parameterStart(const std::string& name) {
    int depth = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (c == '<') {
            ++depth;
        } else if (c == '>' && depth > 0) {
            --depth;
        } else if (c == '(' && depth == 0) {
            if (name.compare(i, 21, "(anonymous namespace)") == 0) {
                i += 20;
            } else if (i >= 8 && name.compare(i - 8, 10, "operator()") == 0) {
                ++i;
            } else {
                return i;
            }
        }
    }
    return std::string::npos;
}

} // namespace

std::string trackingSpan(double seconds) {
    if (seconds >= 120) {
        return formatSpan(seconds);
    }
    return std::to_string(static_cast<int>(std::lround(seconds))) + " s";
}

std::string shortFunctionName(const std::string& function) {
    if (function.empty() || function.rfind("0x", 0) == 0) {
        return function;
    }
    std::string name = function.substr(0, parameterStart(function));
    // A template's return type comes first: "void std::vector<>::push_back".
    int depth = 0;
    std::size_t nameStart = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '<' || name[i] == '(') {
            ++depth;
        } else if ((name[i] == '>' || name[i] == ')') && depth > 0) {
            --depth;
        } else if (name[i] == ' ' && depth == 0 && name.compare(0, 8, "operator") != 0 &&
                   name.compare(i + 1, 8, "operator") != 0) {
            nameStart = i + 1;
        }
    }
    name = name.substr(nameStart);
    for (std::size_t at; (at = name.find("(anonymous namespace)::")) != std::string::npos;) {
        name.erase(at, 23);
    }
    return name + "()";
}

WhereSiteCodes siteCodes(const LeakSite& site) {
    WhereSiteCodes codes;
    codes.place = SitePlaceCode::unknown;
    codes.keptKiB = static_cast<double>(site.bytes) / 1024.0;
    codes.calls = static_cast<int64_t>(site.calls);
    const StackFrame* frame = site.site();
    if (frame == nullptr) {
        return codes;
    }
    codes.function = shortFunctionName(frame->function);
    if (!frame->file.empty()) {
        codes.place = SitePlaceCode::inSource;
        codes.file = fileAndLine(*frame, true);
    } else if (!baseName(frame->module).empty()) {
        codes.place = SitePlaceCode::inLibrary;
        codes.module = baseName(frame->module);
    } else {
        codes.place = SitePlaceCode::function;
    }
    return codes;
}

std::string siteHeadline(const LeakSite& site) {
    const WhereSiteCodes codes = siteCodes(site);
    std::string where;
    switch (codes.place.known.value_or(SitePlaceCode::unknown)) {
    case SitePlaceCode::inSource:
        where = codes.file + " in " + codes.function;
        break;
    case SitePlaceCode::inLibrary:
        where = codes.function + " in " + codes.module;
        break;
    case SitePlaceCode::function:
        where = codes.function;
        break;
    case SitePlaceCode::unknown:
        where = "an unknown place";
        break;
    }
    return where + " kept " + formatKiB(codes.keptKiB) + " over " +
           callsText(static_cast<uint64_t>(codes.calls));
}

std::string frameLine(const StackFrame& frame) {
    std::string line = frame.function;
    if (!frame.file.empty()) {
        line += " \u00B7 " + fileAndLine(frame, true);
    }
    if (!frame.module.empty()) {
        line += " \u00B7 " + baseName(frame.module);
    }
    return line;
}

std::vector<std::string> siteStackLines(const LeakSite& site, std::size_t limit) {
    std::vector<std::string> lines;
    for (std::size_t i = site.siteFrame; i < site.stack.size() && lines.size() < limit; ++i) {
        lines.push_back(frameLine(site.stack[i]));
    }
    return lines;
}

std::string sitesText(const std::vector<LeakSite>& sites) {
    std::string text;
    for (std::size_t i = 0; i < sites.size(); ++i) {
        text += std::to_string(i + 1) + ". " + siteHeadline(sites[i]) + "\n";
        for (const StackFrame& frame : sites[i].stack) {
            text += "     " + frame.function + "\n";
            if (!frame.file.empty()) {
                text += "       at " + fileAndLine(frame, false) + "\n";
            }
            if (!frame.module.empty()) {
                text += "       in " + frame.module + "\n";
            }
        }
    }
    return text;
}

std::string trackingSummary(const WhereReport& report) {
    std::string text = "Tracked " + processLabel(report.program, static_cast<pid_t>(report.pid)) +
                       " for " + trackingSpan(report.trackedSeconds);
    if (report.processEnded) {
        text += " until it ended";
    } else if (report.stoppedEarly) {
        text += ", stopped early";
    }
    text += "; " + bytesText(report.leakedBytes) + " allocated meanwhile was not freed.";
    return text;
}

std::string whereReportText(const WhereReport& report, const std::string& recordingDisplay) {
    std::string text = trackingSummary(report) + "\n";
    if (report.processEnded) {
        text += "It ended during tracking; the sites are what was recorded until then.\n";
    }
    if (report.relaunchedPid > 0) {
        text +=
            "Started again without tracking as PID " + std::to_string(report.relaunchedPid) + ".\n";
    }
    if (!report.note.empty()) {
        text += report.note + "\n";
    }
    if (!report.recording.empty()) {
        text += "Recording: " + recordingDisplay + " (" + bytesText(report.recordingBytes) + ")\n";
    }
    text += "\n";
    if (report.sites.empty()) {
        text += "No allocation site kept memory during tracking: nothing grew while it was "
                "watched.\n";
        return text;
    }
    text += sitesText(report.sites);
    return text;
}

} // namespace velmora
